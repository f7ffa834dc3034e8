#pragma once
// Headless rendering to a PNG file (--snapshot): the same creation, frame
// and destruction steps as the saver window, on an EGL pbuffer instead of a
// window, so it needs no X server.
#include <string>
#include <vector>

struct SaverOptions;

// Reads the current framebuffer as 8-bit RGB rows, top row first.
std::vector<unsigned char> ReadFramePixels(int width, int height);

// Writes RGB rows (top first) as a PNG; false with a reason on failure, and
// then no file is left behind.
bool WritePngFile(const std::string& path, int width, int height, const std::vector<unsigned char>& rgb,
                  std::string* error);

// Runs the snapshot mode; returns the process exit status.
int RunSnapshot(const SaverOptions& options);
