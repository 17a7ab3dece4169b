// Every kavtool command: its name, its usage line, whether it draws and
// whether it opens a port. A new subcommand is a line here, its
// command_*.cpp and a line in the table of kavtool_main.cpp (or of
// paint_main_painter.cpp when it draws, of port_main.cpp when it opens a
// port).

#include "tools/kavtool.h"

#include <array>
#include <cstring>

namespace {

const std::array Commands = {
    TKavtoolCommand{"info", "info FILE.kav"},
    TKavtoolCommand{"export",
                    "export FILE.kav... [--format tsv|csv|bes3t|png|svg] [-o OUT|DIR/] "
                    "[--ini Kav.ini] [--size WxH]",
                    ExportPaints},
    TKavtoolCommand{"format",
                    "format field|ampl|area|corr|adc VALUE... [--ini Kav.ini] [--gain INDEX]"},
    TKavtoolCommand{"import",
                    "import FILE.tsv -o FILE.kav\n  kavtool import FILE.DSC|FILE.csv|FILE.txt -o "
                    "FILE.kav [--ini Kav.ini] [--gain INDEX] [--absolute] [--any-axis] [--json]"},
    TKavtoolCommand{"process",
                    "process IN.kav... [--ini Kav.ini] [--visirs A B] [--gain INDEX] OP... [-o "
                    "OUT.kav|DIR/] [--json]\n      OP: filter N | gliss H | equalize | integrate | "
                    "minmax NOISE STEP | ratio NOISE STEP | dpph"},
    TKavtoolCommand{"acquire",
                    "acquire --port NAME [--ini Kav.ini] [--sweeps N] [--out DIR] [--silence S] "
                    "[--reconnect S] [--sim-speed N]",
                    nullptr, true},
    TKavtoolCommand{"listen", "listen --port NAME [--ini Kav.ini] [--sim-speed N]", nullptr, true},
    TKavtoolCommand{"print",
                    "print IN.kav... -o OUT.pdf|DIR/ [--ini Kav.ini] [--visirs A B] [--gain INDEX] "
                    "[OP...]",
                    PrintPaints},
    TKavtoolCommand{"fit", "fit IN.kav [--ini Kav.ini] [--visirs A B] [--lines N] "
                           "[--shape lorentz|gauss|voigt] [--freq MHz] [--max-evaluations N] "
                           "[--json]"},
    TKavtoolCommand{
        "compare",
        "compare SAMPLE.kav REFERENCE [--ini Kav.ini] "
        "[--normalize none|pp|integral|records] [--shift|--no-shift] [--ref-spins N] [--json]"},
};

} // namespace

bool PrintPaints(const QStringList&) {
    return true;
}

const TKavtoolCommand* FindCommand(const QString& name) {
    for (const TKavtoolCommand& c : Commands) {
        if (name == QLatin1StringView(c.Name))
            return &c;
    }
    return nullptr;
}

const char* CommandUsage(const char* name) {
    for (const TKavtoolCommand& c : Commands) {
        if (std::strcmp(c.Name, name) == 0)
            return c.Usage;
    }
    return "";
}

QString UsageText() {
    QString text = QStringLiteral("usage: kavtool COMMAND ARGS...\ncommands:");
    for (const TKavtoolCommand& c : Commands)
        text += QStringLiteral("\n  kavtool ") + QString::fromUtf8(c.Usage);
    return text + QStringLiteral("\n  kavtool COMMAND --help | kavtool --version");
}
