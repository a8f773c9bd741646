// The font registry. Fonts themselves live outside the framework; this
// module only owns the registry and empties it at start-up.
#include "zru.h"

zrFont* zrutFontList[50] = {};
char zrutFontNames[50][128] = {};
int zrutCurrentFont = -1;

void zruTextInit(void)
{
    // Slots are only forgotten, never released: the fonts belong to their creators.
    for (int slot = 0; slot < 50; ++slot) {
        zrutFontList[slot] = nullptr;
        zrutFontNames[slot][0] = '\0';
    }
    zrutCurrentFont = -1;
    zruTextInited = true;
}
