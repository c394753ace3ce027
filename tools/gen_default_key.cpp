// Writes Default.key, the default key set that the key customisation restores: section
// [ShortCutKeys] with one "Name=number" line for every command the dialog lists, the number being
// the command table's default key as the settings file stores it (0 for none). The build runs it,
// so the file and the table cannot drift apart.
//
//   notarium-default-key OUTPUT
#include "app/CommandTable.h"
#include "app/ShortcutNumber.h"
#include "settings/TCustomizeForm.h"

#include <QKeySequence>
#include <QString>

#include <cstdio>
#include <fstream>
#include <string>

int main(int argc, char** argv)
{
    using namespace notarium;
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUTPUT\n", argv[0]);
        return 2;
    }
    std::string text = "; The default shortcut keys of Notarium, written from its command table.\n"
                       "[ShortCutKeys]\n";
    for (const char* name : customisableCommands()) {
        const CommandRow* row = CommandTable::row(name);
        const int shortcut = row == nullptr || *row->shortcut == '\0'
            ? 0
            : shortcutFromKeySequence(QKeySequence::fromString(QString::fromUtf8(row->shortcut), QKeySequence::PortableText));
        if (row != nullptr && *row->shortcut != '\0' && shortcut == 0) {
            std::fprintf(stderr, "%s: the key %s of %s has no stored form\n", argv[0], row->shortcut, name);
            return 1;
        }
        text += std::string(name) + '=' + std::to_string(shortcut) + '\n';
    }
    std::ofstream out(argv[1], std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        std::fprintf(stderr, "%s: cannot write %s\n", argv[0], argv[1]);
        return 1;
    }
    return 0;
}
