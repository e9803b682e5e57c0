#include "cli/man_page.h"

#include <sstream>

#include "common/version.h"

namespace velmora::cli {

std::string RoffText(const std::string& text) {
    std::string roff;
    for (char c : text) {
        if (c == '\\') {
            roff += "\\e";
        } else if (c == '-') {
            roff += "\\-";
        } else {
            roff += c;
        }
    }
    if (!roff.empty() && (roff.front() == '.' || roff.front() == '\'')) {
        roff.insert(0, "\\&");
    }
    return roff;
}

namespace {

std::string Bold(const std::string& text) {
    return "\\fB" + RoffText(text) + "\\fR";
}

std::string Italic(const std::string& text) {
    return "\\fI" + RoffText(text) + "\\fR";
}

void Options(std::ostream& page, const std::vector<Option>& options) {
    for (const Option& option : options) {
        page << ".TP\n" << Bold(option.name);
        if (option.value != nullptr) {
            page << " " << Italic(option.value);
        }
        page << "\n" << RoffText(option.help) << (option.required ? " (required)" : "") << "\n";
    }
}

} // namespace

std::string ManPage(const std::vector<Command>& table) {
    std::ostringstream page;
    page << ".TH VELMORA\\-CLI 1 \"\" \"" << kProgramTitle << " " << kProgramVersion.Text()
         << "\" \"User Commands\"\n"
         << ".SH NAME\n"
         << "velmora\\-cli \\- the " << kProgramTitle
         << " lottery program's files and operations from a terminal\n"
         << ".SH SYNOPSIS\n"
         << ".B velmora\\-cli\n"
         << "[\\fB\\-\\-home\\fR \\fIDIR\\fR] [\\fB\\-\\-yes\\fR] \\fICOMMAND\\fR "
            "[\\fIARGUMENTS\\fR] [\\fIOPTIONS\\fR]\n"
         << ".br\n"
         << ".B velmora\\-cli\n"
         << "[\\fICOMMAND\\fR] \\fB\\-\\-help\\fR\n"
         << ".SH DESCRIPTION\n"
         << Bold("velmora-cli") << " runs the operations of the desktop program " << Bold("velmora")
         << " on the same files: number-row files (.tip), variation files (.top), the draws "
            "databases, reports and slips. Its messages go to standard error, prefixed with the "
            "caption the program's message box shows; its questions are answered No unless "
         << Bold("--yes") << " is given.\n"
         << ".PP\n"
         << RoffText(kGameNumbers) << ".\n"
         << ".SH OPTIONS\n"
         << "These options are taken by every command, before or after its name.\n";
    Options(page, kGlobalOptions);
    page << ".SH COMMANDS\n";
    for (const Command& command : table) {
        page << ".SS " << RoffText(command.name) << "\n"
             << RoffText(Synopsis(command)) << "\n"
             << ".PP\n"
             << RoffText(command.summary) << ".\n";
        Options(page, command.options);
    }
    page << ".SH ENVIRONMENT\n"
         << ".TP\n"
         << Bold("VELMORA_HOME") << "\n"
         << "The program folder to use, unless " << Bold("--home") << " names one.\n"
         << ".TP\n"
         << Bold("XDG_DATA_HOME") << "\n"
         << "Where an installed program keeps the user's program folder (default "
         << Italic("~/.local/share") << ").\n"
         << ".SH FILES\n"
         << "The program folder is the executable's own folder for a program unpacked into a "
            "folder of its own, and "
         << Italic("~/.local/share/" + std::string(kProgramTitle) + "/")
         << " for a program installed under a prefix. It holds:\n"
         << ".TP\n"
         << Italic(std::string(kProgramStem) + ".ini") << "\nthe settings\n"
         << ".TP\n"
         << Italic("Dat/") << "\nthe draws databases, and downloads in " << Italic("Dat/Cache/")
         << "\n"
         << ".TP\n"
         << Italic("Lotto/") << "\nnumber-row and variation files, one folder per game\n"
         << ".TP\n"
         << Italic("Back/") << "\nbackups of the last variation\n"
         << ".TP\n"
         << Italic("List/") << "\nreports and lists\n"
         << ".PP\n"
         << "An installed program reads the results files it ships with from "
         << Italic("share/velmora/draws/") << " under its prefix.\n"
         << ".SH EXIT STATUS\n"
         << ".TP\n0\ndone\n"
         << ".TP\n1\nrefused or failed (the message on standard error); no file was changed\n"
         << ".TP\n2\nbad arguments (the usage on standard error)\n";
    return page.str();
}

} // namespace velmora::cli
