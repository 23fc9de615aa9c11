// WmaEncodeCore.dll: the WMA codec information manager, the WMA encoder object and the WMA metadata
// editor. The program finds the three factories by name; each takes a reserved 0 and the address
// that receives the new object, and returns 1 when it made one (0, and a null object, otherwise).
#pragma once

#ifdef WMAENCODECORE_BUILD
#define WMAENCODECORE_API extern "C"
#else
#define WMAENCODECORE_API extern "C" __declspec(dllimport)
#endif

// An IWMACodecInfoManager, freed with its Release.
WMAENCODECORE_API int __cdecl CreateWMACodeInfoManagerObject(int reserved, void** object);
// A CAudioEncoder, freed with its Release.
WMAENCODECORE_API int __cdecl CreateWMAEncoderObject(int reserved, void** object);
// A CMediaMetaDataEdit for WMA files, freed with its Destroy.
WMAENCODECORE_API int __cdecl CreateWMAMetaDataEditObject(int reserved, void** object);
