#pragma once
// The Linux source of the outline font: fontconfig finds the face, FreeType
// reads its outlines, and each glyph becomes a solid in its display list.
#include <string>

// The file (and face index within it) of the face the text is drawn in:
// "Comic Sans MS" bold when installed, else "Comic Neue" bold, else whatever
// bold outline face fontconfig offers. Empty when there is none.
std::string FindOutlineFontFile(int* faceIndex);

// Fills the lists from FontListBase on (codes 0 to 254; 255 stays empty) and
// GlyphMetrics from the given face. Bytes are read as Windows-1252. Returns
// false, leaving the lists empty and the metrics zero, when the face cannot
// be read or no lists exist.
bool BuildOutlineFontFromFile(const char* path, int faceIndex);

// The Unicode character a Windows-1252 byte stands for; 0 for the five codes
// the code page leaves undefined.
unsigned int Windows1252ToUnicode(unsigned char code);
