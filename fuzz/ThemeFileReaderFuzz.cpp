// Feeds arbitrary bytes to the theme file reader: it must either accept them or reject them
// with ThemeFileError, and never read outside the bytes, loop or run out of memory.
#include "skin/ThemeFileReader.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    try {
        const TsuiThemeFileReader reader = TsuiThemeFileReader::fromBytes(
            QByteArray(reinterpret_cast<const char*>(data), qsizetype(size)));
        // Every lookup must stay within the bytes as well.
        for (const char* name : {"ButtonImage", "buttonimage", "FormBorderColor", "ButtonTransparentBool", ""}) {
            const QString key = QString::fromLatin1(name);
            (void)reader.pictureBytes(key);
            (void)reader.integer(key);
            (void)reader.byte(key);
            (void)reader.string(key);
        }
    } catch (const ThemeFileError&) {
    }
    return 0;
}
