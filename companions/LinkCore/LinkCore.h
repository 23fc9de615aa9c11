// The web links shown by the program's menus. The program loads LinkCore.dll at run time and
// finds these by ordinal: 1 the product web address, 4 the language of the links.
#pragma once

#ifdef LINKCORE_BUILD
#define LINKCORE_API extern "C"
#else
#define LINKCORE_API extern "C" __declspec(dllimport)
#endif

enum LinkCoreOrdinal { kLinkProductUrl = 1, kLinkSetLanguage = 4 };

using LinkProductUrlFn = const char*(__cdecl*)();
using LinkSetLanguageFn = void(__cdecl*)(const char* language);

// The product web site, in the language chosen last.
LINKCORE_API const char* LinkProductUrl();

// Chooses the language of the links by its English name ("Japanese"); unknown names give English.
LINKCORE_API void LinkSetLanguage(const char* language);
