#pragma once

#include <QString>
#include <QStringList>

namespace notarium {

// What the program was asked for on its command line.
struct CommandLineRequest {
    // The data file to open, absolute and cleaned; empty when none was named.
    QString path;
    // -R: open the file read-only. Only set together with a path.
    bool readOnly = false;
    // -N: started by another window of the program (open in another window, new window).
    bool fromOtherWindow = false;
    // -S: an obsolete switch; the program shows a notice.
    bool obsoleteS = false;

    bool operator==(const CommandLineRequest&) const = default;
};

// Reads the arguments (without the program's own name).
//
// A switch is "-" or "/" followed by R, N or S in either case, nothing more. Every other argument
// that does not start with "-" names the file, made absolute against currentFolder; a file: URL
// (as desktop environments pass them) names its local file. The first named file wins. After "--"
// every argument is a file name, for files whose names start with "-". Other arguments starting with
// "-" are unknown switches and are ignored.
//
// Without -R and -N a file is looked for among all arguments; with either of them only when there
// are at least two arguments, so "-R" alone opens nothing.
CommandLineRequest parseCommandLine(const QStringList& arguments, const QString& currentFolder);

} // namespace notarium
