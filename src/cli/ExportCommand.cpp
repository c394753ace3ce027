#include "cli/CliSupport.h"
#include "cli/Commands.h"

#include "core/datafile/DataFile.h"
#include "core/document/Document.h"
#include "core/io/FileIo.h"
#include "core/text/Cp932Codec.h"
#include "core/textio/TextExportWriter.h"

#include <optional>
#include <string_view>
#include <vector>

namespace notarium::cli {

namespace {

struct ExportRequest {
    std::string in;
    std::string out;
    ExportScope scope = ExportScope::WholeFile;
    long long selected = -1;
    TextExportOptions options;
};

// Marks arrive as UTF-8 from the shell; the document and the writer work in CP932.
std::vector<std::string> splitMarks(std::string_view list)
{
    std::vector<std::string> marks;
    for (;;) {
        const std::size_t comma = list.find(',');
        marks.push_back(cp932::fromUtf8(list.substr(0, comma)));
        if (comma == std::string_view::npos)
            return marks;
        list.remove_prefix(comma + 1);
    }
}

// The value of "--name=value" or of "--name value"; nothing when neither form is there.
std::optional<std::string> optionValue(const Arguments& args, std::size_t& i, std::string_view name)
{
    const std::string_view arg = args[i];
    if (arg == name) {
        if (i + 1 >= args.size())
            return std::nullopt;
        return args[++i];
    }
    if (arg.size() > name.size() && arg.starts_with(name) && arg[name.size()] == '=')
        return std::string(arg.substr(name.size() + 1));
    return std::nullopt;
}

bool parse(const Arguments& args, ExportRequest& request, std::FILE* err)
{
    std::vector<std::string> files;
    bool rangeGiven = false;
    bool markingGiven = false;
    // The command line starts from the plain export: no marks and a UTF-8 file.
    TextExportOptions& options = request.options;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string_view arg = args[i];
        const auto claimMarking = [&](TitleMarking marking) {
            if (markingGiven) {
                std::fputs("export: give one of --outline-numbers, --level-marks, --kind-marks\n", err);
                return false;
            }
            markingGiven = true;
            options.marking = marking;
            return true;
        };
        if (arg == "--contents") {
            options.makeContents = true;
        } else if (arg == "--empty-line") {
            options.emptyLine = true;
        } else if (arg == "--ignore-paper-folder") {
            options.ignorePaperFolder = true;
        } else if (arg == "--new-page") {
            options.newPage = true;
        } else if (arg == "--outline-numbers" || arg.starts_with("--outline-numbers=")) {
            if (!claimMarking(TitleMarking::OutlineNumbers))
                return false;
            if (arg != "--outline-numbers")
                options.separator = cp932::fromUtf8(arg.substr(arg.find('=') + 1));
        } else if (arg.starts_with("--level-marks=")) {
            const std::vector<std::string> marks = splitMarks(arg.substr(arg.find('=') + 1));
            if (!claimMarking(TitleMarking::LevelMarks))
                return false;
            if (marks.size() > kLevelMarkCount) {
                std::fputs("export: --level-marks takes at most 9 marks\n", err);
                return false;
            }
            for (std::size_t m = 0; m < marks.size(); ++m)
                options.levelMarks[m] = marks[m];
        } else if (arg.starts_with("--kind-marks=")) {
            const std::vector<std::string> marks = splitMarks(arg.substr(arg.find('=') + 1));
            if (!claimMarking(TitleMarking::KindMarks))
                return false;
            if (marks.size() > 3) {
                std::fputs("export: --kind-marks takes at most 3 marks (category, memo, result)\n", err);
                return false;
            }
            options.categoryMark = marks[0];
            options.memoMark = marks.size() > 1 ? marks[1] : std::string();
            options.resultMark = marks.size() > 2 ? marks[2] : std::string();
        } else if (arg == "--encoding" || arg.starts_with("--encoding=")) {
            const auto name = optionValue(args, i, "--encoding");
            const auto encoding = name ? parseTextEncoding(*name) : std::nullopt;
            if (!encoding) {
                std::fputs("export: --encoding takes CP932 or UTF-8\n", err);
                return false;
            }
            options.encoding = *encoding;
        } else if (arg == "--tree" || arg == "--memo" || arg.starts_with("--tree=")
            || arg.starts_with("--memo=")) {
            const bool tree = arg.starts_with("--tree");
            const auto value = optionValue(args, i, tree ? "--tree" : "--memo");
            const auto index = value ? parseIndex(*value) : std::nullopt;
            if (rangeGiven || !index) {
                std::fputs("export: give one --tree N or --memo N with an absolute index\n", err);
                return false;
            }
            rangeGiven = true;
            request.scope = tree ? ExportScope::SelectedTree : ExportScope::SelectedMemo;
            request.selected = *index;
        } else if (arg.starts_with("-") && arg != "-") {
            std::fprintf(err, "export: unknown option %s\n", args[i].c_str());
            return false;
        } else {
            files.push_back(args[i]);
        }
    }
    if (files.size() != 2)
        return false;
    request.in = files[0];
    request.out = files[1];
    return true;
}

int exportText(const ExportRequest& request, std::FILE* err)
{
    Document doc;
    ReadResult result;
    if (!loadDocument(request.in, doc, result, err))
        return ExitBadInput;
    const Node* selected = nullptr;
    if (request.scope != ExportScope::WholeFile) {
        selected = doc.nodeAt(request.selected);
        if (selected == nullptr) {
            std::fprintf(err, "%s: no node has the index %lld (the file has %zu nodes)\n", request.in.c_str(),
                request.selected, doc.nodeCount());
            return ExitBadInput;
        }
        // The same refusal as the options window's OK button.
        if (!exportScopeAvailable(request.scope, selected)) {
            std::fprintf(err, "%s: node %lld %s\n", request.in.c_str(), request.selected,
                request.scope == ExportScope::SelectedTree ? "has no children"
                                                           : "is a top-level node without a body");
            return ExitBadInput;
        }
    }
    const TextExportWriter writer(doc, request.options, request.scope, selected);
    std::string error;
    if (!writeFileAtomically(request.out, writer.toString(), &error)) {
        printMessage(err, request.out, error);
        return ExitBadInput;
    }
    return ExitOk;
}

} // namespace

int exportCommand(const Arguments& args, std::FILE*, std::FILE* err)
{
    ExportRequest request;
    if (!parse(args, request, err))
        return ExitUsage;
    return exportText(request, err);
}

} // namespace notarium::cli
