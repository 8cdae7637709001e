// The host tools have no dialog: the older-archive message goes to stderr.
#include <cstdio>

#include "SkinRead.h"

namespace skin {
void ShowSkinMessage(const std::string& text) { std::fprintf(stderr, "%s\n", text.c_str()); }
}  // namespace skin
