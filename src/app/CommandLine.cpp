#include "app/CommandLine.h"

#include <QFileInfo>
#include <algorithm>

namespace CommandLine
{

std::string UsageText()
{
    return "Usage: Talvo95 [-NOTRAY] [--hidden] [--sync-now] [--import-ics FILE]\n"
           "       Talvo95 --export-ics FILE\n"
           "A diary with alarms, a notes tree and a calculator that goes on running in\n"
           "the tray. A second start brings the running copy's window back.\n"
           "\n"
           "  -NOTRAY    run without a tray icon: closing the window ends the program\n"
           "  --hidden   start in the tray without showing the window (it is shown when\n"
           "             the desktop has no tray)\n"
           "  --sync-now syncs the diary with the calendar server now (the running\n"
           "             copy does, without showing its window)\n"
           "  --import-ics FILE\n"
           "             add the events of an iCalendar file to the diary, after\n"
           "             showing what they are (a FILE alone does the same)\n"
           "  --export-ics FILE\n"
           "             write the diary's events to an iCalendar file (\"-\" for\n"
           "             standard output) and end; a running copy saves first\n"
           "  --help     print this help and end\n"
           "  --version  print the version and end\n"
           "\n"
           "The diary and the notes are kept in the folder named by TALVO95_DATA_DIR,\n"
           "or else in ~/.local/share/Quorral/Talvo95.\n";
}

std::string VersionText()
{
    return "Talvo95 " TALVO_VERSION "\n";
}

std::optional<std::string> ExportIcsFile(const std::vector<std::string>& arguments)
{
    const auto at = std::find(arguments.begin(), arguments.end(), ExportIcs);
    if (at == arguments.end())
        return std::nullopt;
    return at + 1 == arguments.end() ? std::string() : *(at + 1);
}

QStringList ImportIcsFiles(const QStringList& arguments, QStringList& rest)
{
    QStringList files;
    rest.clear();
    for (qsizetype i = 0; i < arguments.size(); ++i) {
        const QString& argument = arguments[i];
        if (argument == QLatin1StringView(ImportIcs)) {
            if (i + 1 < arguments.size())
                files << arguments[++i];
        } else if (!argument.startsWith(u'-') && QFileInfo(argument).isFile()) {
            files << argument;
        } else {
            rest << argument;
        }
    }
    return files;
}

std::optional<std::string> TerminalAnswer(const std::vector<std::string>& arguments)
{
    const auto given = [&arguments](const char* name) {
        return std::find(arguments.begin(), arguments.end(), name) != arguments.end();
    };
    if (given(Help))
        return UsageText();
    if (given(Version))
        return VersionText();
    return std::nullopt;
}

} // namespace CommandLine
