// Pixmill: operations on device-independent bitmaps (DIBs), conversions to
// and from the platform's bitmaps and painting surfaces, and loading and
// saving picture files through codec plug-ins loaded by name per call.
//
// A DIB lives in one heap block behind an HDIB handle: a 40-byte information
// header (or a 12-byte core header), the colour table, then the pixel rows,
// bottom-up, each padded to 4 bytes. Whoever receives a new handle owns it
// and frees it with DibFree. Functions taking an HDIB* may replace the DIB:
// on success the old block is freed and the new handle stored there.
// Area arguments are measured from the top-left corner of the picture.
// Every function returns 0 (or null) on failure and never throws.
#pragma once

#include <cstddef>
#include <cstdint>

#define PIXMILL_API extern "C" __attribute__((visibility("default")))

struct DibBlock;
typedef DibBlock* HDIB;
// The platform's bitmap and painting surface: a Qt image. An HBITMAP that a
// function returns belongs to the caller (delete it); an HDC is borrowed.
class QImage;
typedef QImage* HBITMAP;
typedef QImage* HDC;
typedef uint32_t COLORREF;  // 0x00BBGGRR

// The handle layer, standing in for movable global memory.
PIXMILL_API HDIB DibAlloc(size_t size);  // zero-filled; null when memory is short
PIXMILL_API void* DibLock(HDIB dib);
PIXMILL_API int DibUnlock(HDIB dib);
PIXMILL_API size_t DibSize(HDIB dib);
PIXMILL_API HDIB DibFree(HDIB dib);  // null on success, like GlobalFree

PIXMILL_API long GetDIBWidth(HDIB dib);
PIXMILL_API long GetDIBHeight(HDIB dib);
PIXMILL_API long GetDIBColorsNum(HDIB dib);
PIXMILL_API long GetDIBPaletteSize(HDIB dib);
PIXMILL_API void* GetDIBBits(HDIB dib);
PIXMILL_API HBITMAP GetHBITMAPFromDC(HDC dc, int x, int y, int width, int height);
PIXMILL_API int WriteBitmapToBmpFile(HBITMAP bitmap, const char* path);
PIXMILL_API int DrawDIBToDC(HDC dc, int xDest, int yDest, int widthDest, int heightDest, HDIB dib, int xSrc,
                            int ySrc, int widthSrc, int heightSrc);
PIXMILL_API HDIB CreateNewDIB(int width, int height, COLORREF colour);
PIXMILL_API int MergeDIB(HDIB* destination, int x, int y, HDIB source, int width, int height, int percent);
PIXMILL_API HDIB GetDIBFromDIB(HDIB dib, int x, int y, int width, int height);
PIXMILL_API int EraseDIBArea(HDIB* dib, int x, int y, int width, int height, COLORREF colour);
PIXMILL_API HDIB CutDIBFromDIB(HDIB dib, int x, int y, int width, int height, COLORREF colour);
PIXMILL_API int ZoomDIB(HDIB* dib, int percent);
PIXMILL_API int ChangeToFullColorDIB(HDIB* dib);
PIXMILL_API int ChangeToGrayDIB(HDIB dib);
PIXMILL_API int InvertDIB(HDIB dib);
PIXMILL_API int ConvertDIB(HDIB* dib, int kind);  // 1 upside down, 2 left to right
PIXMILL_API int RotateDIB(HDIB* dib, int angle, COLORREF colour);
PIXMILL_API int HSLtoRGB(int hue, int saturation, int lightness, int* red, int* green, int* blue);
PIXMILL_API int RGBtoHSL(int red, int green, int blue, int* hue, int* saturation, int* lightness);
PIXMILL_API int ContrastDIB(HDIB* dib, int amount);
PIXMILL_API int LightDIB(HDIB* dib, int amount);
PIXMILL_API HDIB StretchDIBFromMiddle(HDIB dib, int columns);
PIXMILL_API HDIB GetDIBFromHBITMAP(HBITMAP bitmap);
PIXMILL_API HDIB CloneDIB(HDIB dib);
PIXMILL_API HDIB LoadDIBFromFile(const char* path);
PIXMILL_API int SaveDIBToFile(HDIB dib, const char* path);
PIXMILL_API int SaveAsPicture(const char* source, const char* target);
PIXMILL_API int CheckFileSupport(const char* path);
PIXMILL_API int CopyDCToClipBoard(HDC dc, int x, int y, int width, int height);
PIXMILL_API HBITMAP GetHBITMAPFromDIB(HDIB dib);

// The two calls a codec plug-in ("Load" + extension, a loadable module found
// beside the Pixmill library) exports.
typedef HDIB (*PixmillLoadFunction)(const char* path);
typedef int (*PixmillSaveFunction)(HDIB dib, const char* path);
