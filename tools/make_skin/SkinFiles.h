#pragma once
// Turning the skin description into the shipped files: pictures, "Skins.xml", "Strings.xml".
#include "SkinSpec.h"
#include <string>
#include <vector>

std::vector<uint8_t> BmpBytes(const Canvas& c);
// An uncompressed PNG (stored deflate blocks): only for looking at the pictures.
std::vector<uint8_t> PngBytes(const Canvas& c);

// The text of an entry as "Strings.xml" holds it.
std::wstring EntryText(const Entry& e);
// Problems that would make an entry read back differently from what the layout says.
std::vector<std::wstring> CheckEntry(const Entry& e);

Canvas RenderPicture(const WindowSpec& w, const Picture& p);
// White outside the window's shape, black inside.
Canvas RenderMask(const WindowSpec& w);

// Writes Skins.xml, Strings.xml and every picture under folder (which ends with a
// backslash). Returns false and prints the reason on the first failure.
bool WriteSkinFiles(const SkinSpec& spec, const std::wstring& folder);
// PNG previews of every picture, and of each window cut by its mask over a desktop.
bool WritePreviews(const SkinSpec& spec, const std::wstring& folder);
