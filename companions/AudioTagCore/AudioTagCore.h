// AudioTagCore.dll: what the program, its encoders and the WMA library share.
#pragma once

#ifdef AUDIOTAGCORE_BUILD
#define AUDIOTAGCORE_API __declspec(dllexport)
#else
#define AUDIOTAGCORE_API __declspec(dllimport)
#endif
