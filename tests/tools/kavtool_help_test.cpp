// kavtool --version and kavtool COMMAND --help, and the manual page against
// them: every command's help lists the options its usage line names, one a
// line, and the manual page documents every command and option.
#include "kav_version.h"
#include "kavtool_run.h"
#include "qstring_printer.h"

#include <QFile>
#include <QRegularExpression>
#include <QSet>
#include <gtest/gtest.h>

namespace {

TKavtoolRun RunTool(const QStringList& args) {
    TKavtoolOptions options;
    options.NoDisplay = true;
    return RunKavtool(args, options);
}

// The command names of "kavtool help": the word after "kavtool" on each
// usage line.
QStringList CommandNames() {
    const TKavtoolRun help = RunTool({"help"});
    EXPECT_EQ(help.Exit, 0);
    EXPECT_TRUE(help.Out.contains("kavtool import FILE.tsv -o FILE.kav"));
    QStringList names;
    static const QRegularExpression line(QStringLiteral("^  kavtool ([a-z]+) "),
                                         QRegularExpression::MultilineOption);
    for (auto it = line.globalMatch(help.Out); it.hasNext();) {
        const QString name = it.next().captured(1);
        if (!names.contains(name))
            names << name;
    }
    return names;
}

// The options a text names: words of the form --name or -x.
QSet<QString> OptionsIn(const QString& text) {
    static const QRegularExpression option(QStringLiteral("(?<![\\w-])(--?[a-z][a-z-]*)"));
    QSet<QString> options;
    for (auto it = option.globalMatch(text); it.hasNext();)
        options.insert(it.next().captured(1));
    return options;
}

struct THelp {
    QString Usage;           // the usage lines
    QStringList OptionLines; // the lines under "options:"
};

// The usage lines come first (the first one starts with "usage:", the
// others are indented), then the summary, then sections that each start with
// an unindented line ending in ":".
THelp Split(const QString& text) {
    THelp help;
    enum { Usage, Summary, Options, Other } part = Usage;
    for (const QString& line : text.split(u'\n')) {
        const bool indented = line.startsWith(u' ');
        if (part == Usage && (line.startsWith(u"usage:") || indented)) {
            help.Usage += line + u'\n';
            continue;
        }
        if (!indented)
            part = line == u"options:" ? Options : line.endsWith(u':') ? Other : Summary;
        else if (part == Options)
            help.OptionLines << line;
    }
    return help;
}

TEST(KavtoolHelp, VersionIsTheProgramsVersion) {
    const TKavtoolRun r = RunTool({"--version"});
    EXPECT_EQ(r.Exit, 0) << r.Err.toStdString();
    EXPECT_EQ(r.Out, QStringLiteral("kavtool " KAV_VERSION_STRING "\n"));
    EXPECT_EQ(r.Err, QString());
}

// Each command answers --help on stdout with exit 0; every option its usage
// line names has a line of its own, and no line names an option the usage
// does not know. The manual page names every command in a paragraph of its
// own and every option its help lists.
TEST(KavtoolHelp, EveryCommandListsItsOptionsOneALineAndTheManualDocumentsThem) {
    QFile file(QStringLiteral(KAVTOOL_MANUAL));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << KAVTOOL_MANUAL;
    // The roff source: "\fBexport\fR", "\fB--ini\fR" (a hyphen may be "\-").
    const QString manual = QString::fromUtf8(file.readAll()).replace(QStringLiteral("\\-"), "-");
    const QStringList names = CommandNames();
    ASSERT_GE(names.size(), 8) << names.join(u' ').toStdString();
    for (const QString& name : names) {
        SCOPED_TRACE(name.toStdString());
        const TKavtoolRun r = RunTool({name, "--help"});
        ASSERT_EQ(r.Exit, 0) << r.Err.toStdString();
        EXPECT_EQ(r.Err, QString());
        EXPECT_TRUE(r.Out.startsWith(QStringLiteral("usage: kavtool ") + name + u' '))
            << r.Out.toStdString();

        const THelp help = Split(r.Out);
        QSet<QString> listed;
        for (const QString& line : help.OptionLines) {
            // "  --ini Kav.ini   text": one option (or "-h, --help") a line.
            const QString head = line.trimmed().section(QStringLiteral("  "), 0, 0);
            const QSet<QString> here = OptionsIn(head);
            EXPECT_FALSE(here.isEmpty()) << line.toStdString();
            EXPECT_FALSE(line.trimmed().section(QStringLiteral("  "), 1).trimmed().isEmpty())
                << "no text: " << line.toStdString();
            listed.unite(here);
        }
        QSet<QString> expected = OptionsIn(help.Usage);
        expected.insert("--help");
        expected.insert("-h");
        EXPECT_EQ(listed, expected) << r.Out.toStdString();

        EXPECT_TRUE(manual.contains(QStringLiteral("\n\\fB") + name + QStringLiteral("\\fR")))
            << "no paragraph";
        for (const QString& option : OptionsIn(help.OptionLines.join(u'\n')))
            EXPECT_TRUE(manual.contains(QStringLiteral("\\fB") + option + QStringLiteral("\\fR")))
                << option.toStdString();
    }
}

// -h, "help COMMAND" and --help among other arguments give the same help;
// the help of no command is bad usage.
TEST(KavtoolHelp, EveryWayOfAskingGivesTheSameHelp) {
    const QString help = RunTool({"process", "--help"}).Out;
    ASSERT_TRUE(help.startsWith(u"usage: kavtool process")) << help.toStdString();
    for (const QStringList& args :
         {QStringList{"process", "-h"}, QStringList{"help", "process"},
          QStringList{"process", "in.kav", "--visirs", "1", "2", "gliss", "3", "--help"}}) {
        const TKavtoolRun r = RunTool(args);
        EXPECT_EQ(r.Exit, 0) << args.join(u' ').toStdString();
        EXPECT_EQ(r.Out, help) << args.join(u' ').toStdString();
    }
    for (const QStringList& args :
         {QStringList{"frobnicate", "--help"}, QStringList{"help", "frobnicate"}}) {
        const TKavtoolRun r = RunTool(args);
        EXPECT_EQ(r.Exit, 2) << args.join(u' ').toStdString();
        EXPECT_TRUE(r.Err.contains("usage: kavtool")) << r.Err.toStdString();
        EXPECT_EQ(r.Out, QString());
    }
}

} // namespace
