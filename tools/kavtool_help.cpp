#include "tools/kavtool_help.h"

#include "base/instrument_tables.h"
#include "kav_version.h"
#include "tools/kavtool.h"

#include <algorithm>
#include <vector>

namespace {

struct TOptionHelp {
    const char* Name; // the option as typed, with its value ("--ini Kav.ini")
    const char* Text;
};

struct TCommandHelp {
    const char* Name;
    const char* Summary;
    std::vector<TOptionHelp> Options;
    std::vector<TOptionHelp> Operations; // process and print only
};

// The gain texts below name the rows of the instrument's table.
static_assert(GainRowCount == 8, "the --gain texts name the rows 0..7");

// The options every command that reads settings shares.
constexpr TOptionHelp IniOption{"--ini Kav.ini",
                                "the settings file to apply (default: the program's defaults)"};
constexpr TOptionHelp GainOption{"--gain INDEX",
                                 "the gain row 0..7 of the instrument's table, instead of the "
                                 "settings' one"};
constexpr TOptionHelp PortOption{"--port NAME",
                                 "SIM (the simulated spectrometer), COMn (/dev/ttyS(n-1)), a path "
                                 "such as /dev/serial/by-id/..., or a name under /dev"};
constexpr TOptionHelp SimSpeedOption{"--sim-speed N",
                                     "runs the simulated spectrometer N times faster (SIM only)"};
constexpr TOptionHelp VisirsOption{"--visirs A B",
                                   "the range of the operations, two sweep codes 0..65535 "
                                   "(default: the settings' visirs)"};
constexpr TOptionHelp HelpOption{"-h, --help", "this help"};

const std::vector<TOptionHelp> ProcessingOperations = {
    {"filter N", "low-pass filter of the whole spectrum with the constant N"},
    {"gliss H", "smoothing of the whole spectrum, a moving average over 2H+1 points"},
    {"equalize", "the straight line through the ends of the visir range becomes the zero line"},
    {"integrate", "the double integral of the visir range, which becomes its running integral"},
    {"minmax NOISE STEP", "the extrema of the visir range and the amplitudes of their pairs"},
    {"ratio NOISE STEP", "the amplitudes of the two rightmost lines of the range and their ratio"},
    {"dpph", "the resonator frequency from a DPPH line at visir 1; the pairs then show g-factors"},
};

const std::vector<TCommandHelp>& Helps() {
    static const std::vector<TCommandHelp> helps = {
        {"info",
         "Shows the points, the first and last field code and every parameter record of a "
         "spectrum file, and the records a load drops.",
         {HelpOption},
         {}},
        {"export",
         "Writes the points of a spectrum as tab-separated codes and values (to stdout), as CSV "
         "or BES3T for other programs, or a picture of the plot. Several spectra in one run "
         "need -o DIR/; a file that fails is one line on stderr, the others are written, and "
         "the exit status is then 1.",
         {{"--format tsv|csv|bes3t|png|svg",
           "the output format (default: the extension of -o, else tsv)"},
          {"-o OUT|DIR/",
           "the output file (default: stdout for text, beside the input for BES3T and "
           "pictures), or a folder (made when missing) that gets DIR/NAME.tsv and so on for "
           "each FILE.kav"},
          IniOption,
          {"--size WxH", "the size of a png or svg picture in pixels (default: 1600x1000)"},
          HelpOption},
         {}},
        {"format",
         "Shows each value (a field code, an amplitude code, an area, a correction or an ADC "
         "code) as the program shows it, in the settings' units.",
         {IniOption, GainOption, HelpOption},
         {}},
        {"import",
         "Makes a spectrum file from code<TAB>amplitude lines (.tsv), or from another program's "
         "BES3T data set or two-column text through the settings' calibration.",
         {{"-o FILE.kav", "the spectrum file to write (required)"},
          IniOption,
          {"--gain INDEX",
           "the gain row 0..7 a BES3T or text spectrum was taken with, when the file names none"},
          {"--absolute", "keeps the amplitudes as they are instead of scaling small ones to fill "
                         "the 12-bit codes"},
          {"--any-axis", "takes a BES3T axis that is not a magnetic field (time, frequency, "
                         "power) as a field"},
          {"--json", "prints the points, the amplitude factor and the counts as JSON"},
          HelpOption},
         {}},
        {"process",
         "Runs processing operations on a spectrum in the order given, as the window's actions "
         "run them, and prints what the plot would show. Several spectra in one run: each "
         "report follows a line \"file: IN.kav\" (with --json, one document a line); a file "
         "that fails is one line on stderr, the others go on, and the exit status is then 1.",
         {IniOption,
          VisirsOption,
          GainOption,
          {"-o OUT.kav|DIR/", "saves the processed spectrum; a folder (made when missing) gets "
                              "DIR/IN.kav for each input"},
          {"--json", "prints the results as JSON"},
          HelpOption},
         ProcessingOperations},
        {"acquire",
         "Receives without a window: the handshake, then N forward sweeps saved under the "
         "automatic-save names; message lines on stdout, one progress line per sweep on stderr. "
         "A silent or lost line ends the run with one line and exit status 1; the sweeps saved "
         "stay.",
         {PortOption,
          IniOption,
          {"--sweeps N", "the number of sweeps to save (default: 1)"},
          {"--out DIR", "the folder of the saved sweeps (default: the current folder)"},
          {"--silence S", "no frame for S seconds ends the run (default: 10)"},
          {"--reconnect S",
           "after the line went away, opens the same port again every 2 s for up to S seconds "
           "(default: the run ends at once)"},
          SimSpeedOption,
          HelpOption},
         {}},
        {"listen",
         "Prints every decoded frame and message line of the link until interrupted (Ctrl+C) "
         "or the line goes away (exit status 1), for checking a cable and a port.",
         {PortOption, IniOption, SimSpeedOption, HelpOption},
         {}},
        {"print",
         "Writes the one-page printout of a spectrum as an A4 PDF after the operations of "
         "process; needs no display. Several spectra in one run need -o DIR/; a file that fails "
         "is one line on stderr, the others are printed, and the exit status is then 1.",
         {{"-o OUT.pdf|DIR/", "the PDF file to write (required), or a folder (made when "
                              "missing) that gets DIR/IN.pdf for each input"},
          IniOption,
          VisirsOption,
          GainOption,
          HelpOption},
         ProcessingOperations},
        {"fit",
         "Fits 1 to 4 first-derivative lines on a straight baseline to the spectrum between the "
         "visirs and prints each line's centre, width, amplitude, double integral and g with "
         "their standard errors, in the settings' units.",
         {IniOption,
          VisirsOption,
          {"--lines N", "the number of lines 1..4 (default: the settings' [LineFit] LineCount)"},
          {"--shape lorentz|gauss|voigt",
           "the line shape (default: the settings' [LineFit] LineShape)"},
          {"--freq MHz", "the microwave frequency for g (default: the settings', else the DPPH "
                         "line's)"},
          {"--max-evaluations N",
           "the optimiser's budget of model evaluations (default: 400); a fit that does not "
           "converge within it is refused"},
          {"--json", "prints every parameter with its error as JSON"},
          HelpOption},
         {}},
        {"compare",
         "Places a reference spectrum (.kav, or any file kavtool import reads) on the sample's "
         "field axis, scales it and prints the scale, the field shift, the residual and the "
         "ratio of double integrals.",
         {IniOption,
          {"--normalize none|pp|integral|records",
           "how the reference is scaled: not at all, to the peak-to-peak amplitude, to the "
           "double integral or by the files' gains (default: the settings' [Compare] "
           "Normalization, else none)"},
          {"--shift", "finds the field shift that lays the reference over the sample (default: "
                      "the settings' [Compare] FindShift, else not)"},
          {"--no-shift", "does not look for a field shift, whatever the settings say"},
          {"--ref-spins N", "the reference's spin count; the sample's is then printed (default: "
                            "the settings' [Compare] ReferenceSpins, else none)"},
          {"--json", "prints the results as JSON"},
          HelpOption},
         {}},
    };
    return helps;
}

// Lines of "  NAME  TEXT" with the texts in one column.
QString Table(const std::vector<TOptionHelp>& rows) {
    qsizetype width = 0;
    for (const TOptionHelp& row : rows)
        width = std::max(width, QString::fromUtf8(row.Name).size());
    QString text;
    for (const TOptionHelp& row : rows)
        text +=
            QStringLiteral("\n  %1  %2")
                .arg(QString::fromUtf8(row.Name).leftJustified(width), QString::fromUtf8(row.Text));
    return text;
}

bool IsHelpWord(const char* word) {
    const QByteArray w(word);
    return w == "--help" || w == "-h";
}

} // namespace

QString CommandHelp(const QString& name) {
    for (const TCommandHelp& help : Helps()) {
        if (name != QLatin1StringView(help.Name))
            continue;
        QString text =
            QStringLiteral("usage: kavtool ") + QString::fromUtf8(CommandUsage(help.Name)) + u'\n' +
            QString::fromUtf8(help.Summary) + QStringLiteral("\noptions:") + Table(help.Options);
        if (!help.Operations.empty())
            text += QStringLiteral("\noperations (OP), run in the order given:") +
                    Table(help.Operations);
        return text;
    }
    return {};
}

int HelpOrVersion(int argc, char** argv) {
    if (argc == 2 && QByteArray(argv[1]) == "--version") {
        PrintLine(QStringLiteral("kavtool " KAV_VERSION_STRING));
        return ExitOk;
    }
    if (argc < 3)
        return -1;
    QString name = QString::fromLocal8Bit(argv[1]);
    bool asked = false;
    if (name == u"help" && argc == 3) {
        name = QString::fromLocal8Bit(argv[2]);
        asked = true;
    }
    for (int i = 2; i < argc && !asked; ++i)
        asked = IsHelpWord(argv[i]);
    const QString help = asked ? CommandHelp(name) : QString();
    if (help.isEmpty() && argc == 3 && QByteArray(argv[1]) == "help") {
        PrintError(QStringLiteral("kavtool: unknown command \"%1\"").arg(name));
        PrintError(QStringLiteral("usage: kavtool help COMMAND"));
        return ExitUsage;
    }
    if (help.isEmpty())
        return -1;
    PrintLine(help);
    return ExitOk;
}
