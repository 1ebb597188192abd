#include "cli/Help.h"

#include "core/AppInfo.h"
#include "core/StringTable.h"
#include "platform/Console.h"

namespace tarvix {

void PrintHelp(const QString& exeName) {
    static const char* const lines[] = {
        " ",
        "Usage: %s1% -i <filename> [options]",
        " ",
        "  %s1% -i example.%s2%",
        "  %s1% -i /tmp/example.%s2%",
        "  %s1% -i /tmp/example.%s2% -o /tmp/converted",
        "  %s1% -i /tmp/example.%s2% -o /tmp/converted --jpg-quality=95",
        "  %s1% -i /tmp/textures -o /tmp/converted --jobs=4",
        " ",
        "Options:",
        " ",
        "  -h, -?, --help            Display this help and exit",
        "  -i FILE, --input=FILE     Set input file (or folder: every texture below it)",
        "  --file-list=FILE          Convert the files listed in FILE, one a line (- reads stdin)",
        "  -o PATH, --output=PATH    Set output folder",
        "  -c STR, --conversion=STR  Set output extension, STR = (jpg | bmp | ...)",
        " ",
        "Advanced options:",
        " ",
        "  --dds-mip=NUM             Convert mip level NUM (0 = the largest)",
        "  --dds-layer=NUM           Convert array item (or volume slice) NUM",
        "  --dds-cube=STR            Lay out a cube map, STR = (first | cross | strip)",
        "  --dds-normal-map=STR      Rebuild normal maps, STR = (auto | raw | rebuild)",
        "  --dds-alpha=STR           Transparency, STR = (drop | background)",
        "  --dds-background=RRGGBB   Color under transparent pixels (default FFFFFF)",
        "  --width=NUM               Set output image width",
        "  --height=NUM              Set output image height",
        "  --filename-mask=STR       Define output filename format",
        "  --flip-horizontal         Flip output image horizontally",
        "  --flip-vertical           Flip output image vertically",
        "  --brightness=NUM          Set output image brightness, NUM = -100..100",
        "  --contrast=NUM            Set output image contrast, NUM = -100..100",
        "  --gamma=NUM               Set output image gamma, NUM = 0.01..9.99",
        "  --invert                  Invert output image",
        "  --greyscale               Greyscale output image",
        "  --no-subfolders           Put a folder's files into the output folder itself",
        "  --jobs=NUM                Convert NUM files of a folder at once, NUM = 1..256",
        "                            (default: one per processor)",
        "  --profile=FILE            Set configuration file with required settings",
        "    ...                     Refer documentation for all available options",
        " ",
        "Other options:",
        " ",
        "  -q, --quiet               Don't print status messages to stdout",
        "  -d, --debug               Print debug information to stdout",
        "  -p, --pause               Pause at exit",
        "  -v, --version             Display version information and exit",
    };
    const QString example = InputExtensions().value(0);
    for (const char* line : lines)
        PrintLine(FormatText(QString::fromLatin1(line), exeName, example));
}

void PrintVersion() {
    PrintLine(VersionText());
}

} // namespace tarvix
