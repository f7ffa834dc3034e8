#pragma once
// The two macros MinGW's GL headers need, so that portable code that draws
// does not have to pull in <windows.h>.
#ifndef APIENTRY
#define APIENTRY __stdcall
#endif
#ifndef WINGDIAPI
#define WINGDIAPI __declspec(dllimport)
#endif
#ifndef CALLBACK
#define CALLBACK __stdcall
#endif
