#pragma once
// Turning the skin description into the shipped files: pictures, "Skins.xml", "Strings.xml".
#include "SkinPlan.h"
#include <string>
#include <vector>

std::vector<uint8_t> BmpBytes(const Canvas& c);
// Two colours: pixels of red 128 or more white, the others black.
std::vector<uint8_t> MonoBmpBytes(const Canvas& c);
// An icon file with one 32-bit image (colour and alpha) per size.
std::vector<uint8_t> IcoBytes(const std::vector<std::pair<Canvas, Canvas>>& images);
// A 256-colour GIF whose palette is the ramp below, each pixel mapped by its brightness.
std::vector<uint8_t> GifBytes(const Canvas& c);
// The colour of palette entry i (0 black .. 255 light gold); pictures saved as GIF use
// only these colours.
Rgb GifRamp(int i);
// An uncompressed PNG (stored deflate blocks): only for looking at the pictures.
std::vector<uint8_t> PngBytes(const Canvas& c);

// The text of an entry as "Strings.xml" holds it.
std::wstring EntryText(const Entry& e);
// Problems that would make an entry read back differently from what the layout says.
std::vector<std::wstring> CheckEntry(const Entry& e);

Canvas RenderPicture(const WindowPlan& w, const Picture& p);
// White outside the window's shape, black inside.
Canvas RenderMask(const WindowPlan& w);

// Writes Skins.xml, Strings.xml and every picture under folder (which ends with a
// backslash). Returns false and prints the reason on the first failure.
bool WriteSkinFiles(const SkinPlan& plan, const std::wstring& folder);
bool WriteBytes(const std::wstring& path, const std::vector<uint8_t>& bytes);
std::wstring Lower(std::wstring s);

// PNG previews of every picture as the programs show it (cut by the mask over a desktop,
// with the texts the programs draw at run time), and of the plain pictures.
bool WritePreviews(const SkinPlan& plan, const std::wstring& folder);
