#pragma once

#include <optional>
#include <string>
#include <vector>

// The text of the files a Linux desktop reads to know a program: desktop entries (menu entries,
// shortcuts on the desktop, autostart entries), shared-mime-info packages and the user's
// mimeapps.list, which names the default program of each file type. Only text here; where the
// files live and who writes them is the shell integration's business.
namespace notarium::desktop {

// One argument of an Exec line: quoted when it holds a character the desktop's command-line
// parser reserves, with the characters a quoted argument must escape escaped, and a literal
// percent sign doubled so it is not taken for a field code.
std::string execArgument(const std::string& argument);

// The value of a string key as the file must hold it: backslash, newline, tab and carriage
// return escaped, so a value never breaks its line.
std::string escapeValue(const std::string& value);

struct Shortcut {
    std::string name;
    std::string comment;
    std::string program;       // absolute path
    std::vector<std::string> arguments;
    std::string workingFolder; // absolute path; empty for none
    std::string icon;          // an icon name or an absolute path; empty for none
};

// A desktop entry that starts `program` with `arguments`.
std::string shortcutEntry(const Shortcut& shortcut);

// The desktop entry `text` with `key` of `group` set to `value` (given as the file holds it): the
// first line of that key in the group is replaced, else the key is added at the group's end, else
// the group is added at the end of the text. Every other line stays as it was.
std::string withKey(const std::string& text, const std::string& group, const std::string& key,
    const std::string& value);

// The value of `key` in `group`, as the file holds it; nothing when the key is absent.
std::optional<std::string> keyValue(const std::string& text, const std::string& group, const std::string& key);

// `text` without the line of `key` in `group`; the rest as it was.
std::string withoutKey(const std::string& text, const std::string& group, const std::string& key);

// From a shared-mime-info package of several types, a package of `type` alone, with the
// package's own header; nothing when the package does not define the type.
std::optional<std::string> singleTypePackage(const std::string& package, const std::string& type);

// Whether a shared-mime-info package (or the compiled "types" list, one type per line) names `type`.
bool packageDefinesType(const std::string& package, const std::string& type);
bool typeListNames(const std::string& types, const std::string& type);

} // namespace notarium::desktop
