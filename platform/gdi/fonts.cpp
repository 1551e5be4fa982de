// Points fontconfig at the project's font file.
#include "platform/gdi/fonts.h"

#include <cstdlib>

void PrepareFontConfiguration() {
    setenv("FONTCONFIG_FILE", QOR_FONTCONFIG_FILE, 0);
}
