// The text of desktop entries, MIME packages and mimeapps.list: a program path the desktop would
// split or expand wrongly, and edits that must leave every other line of a person's file alone.
#include "core/shell/DesktopFiles.h"

#include <gtest/gtest.h>

using namespace notarium::desktop;

TEST(DesktopFiles, ExecArgumentsSurviveTheDesktopsParser)
{
    EXPECT_EQ(execArgument("/usr/bin/notarium"), "/usr/bin/notarium");
    EXPECT_EQ(execArgument("-N"), "-N");
    // A blank would split the path; $ ` \ " inside quotes must be escaped; % is not a field code.
    EXPECT_EQ(execArgument("/home/a b/notarium"), "\"/home/a b/notarium\"");
    EXPECT_EQ(execArgument("/opt/$HOME`x`/n\"q"), "\"/opt/\\$HOME\\`x\\`/n\\\"q\"");
    EXPECT_EQ(execArgument("/opt/100%/notarium"), "/opt/100%%/notarium");
    EXPECT_EQ(execArgument("/opt/a\\b"), "\"/opt/a\\\\b\"");
    EXPECT_EQ(execArgument("/opt/メモ帳/notarium"), "/opt/メモ帳/notarium");
    EXPECT_EQ(execArgument(""), "\"\"");
    // The file then escapes the quoting's backslashes once more.
    EXPECT_EQ(escapeValue(execArgument("/opt/a\\b")), "\"/opt/a\\\\\\\\b\"");
    EXPECT_EQ(escapeValue("two\nlines\tand\rreturn"), "two\\nlines\\tand\\rreturn");
}

TEST(DesktopFiles, ShortcutEntryNamesProgramFolderAndArguments)
{
    Shortcut shortcut;
    shortcut.name = "Notarium";
    shortcut.comment = "Outline Text Editor - Notarium";
    shortcut.program = "/home/a b/notarium";
    shortcut.arguments = { "-N" };
    shortcut.workingFolder = "/home/a b";
    shortcut.icon = "notarium";
    const std::string entry = shortcutEntry(shortcut);
    EXPECT_EQ(entry.rfind("[Desktop Entry]\n", 0), 0u);
    EXPECT_EQ(keyValue(entry, "Desktop Entry", "Exec"), "\"/home/a b/notarium\" -N");
    EXPECT_EQ(keyValue(entry, "Desktop Entry", "Path"), "/home/a b");
    EXPECT_EQ(keyValue(entry, "Desktop Entry", "Comment"), "Outline Text Editor - Notarium");
    EXPECT_EQ(keyValue(entry, "Desktop Entry", "Type"), "Application");
    EXPECT_EQ(keyValue(entry, "Desktop Entry", "Terminal"), "false");
}

TEST(DesktopFiles, KeyEditsTouchOnlyTheirLine)
{
    const std::string list = "# mine\n[Added Associations]\ntext/plain=gedit.desktop;\n\n"
                             "[Default Applications]\ntext/plain=gedit.desktop\n\n[Other]\nx=1\n";
    // A new key goes to the end of its group, before the blank line that parts it from the next.
    const std::string added = withKey(list, "Default Applications", "application/x-notarium-data", "n.desktop");
    EXPECT_EQ(added, "# mine\n[Added Associations]\ntext/plain=gedit.desktop;\n\n"
                     "[Default Applications]\ntext/plain=gedit.desktop\napplication/x-notarium-data=n.desktop\n\n"
                     "[Other]\nx=1\n");
    EXPECT_EQ(keyValue(added, "Default Applications", "application/x-notarium-data"), "n.desktop");
    // The same key in another group is another key.
    EXPECT_EQ(keyValue(added, "Added Associations", "application/x-notarium-data"), std::nullopt);
    EXPECT_EQ(withoutKey(added, "Default Applications", "application/x-notarium-data"), list);
    // Replacing keeps the line's place.
    EXPECT_EQ(withKey(list, "Default Applications", "text/plain", "kate.desktop"),
        "# mine\n[Added Associations]\ntext/plain=gedit.desktop;\n\n"
        "[Default Applications]\ntext/plain=kate.desktop\n\n[Other]\nx=1\n");
    // A missing group or file is made; removing what is absent changes nothing.
    EXPECT_EQ(withKey("", "Default Applications", "a/b", "c"), "[Default Applications]\na/b=c\n");
    EXPECT_EQ(withKey("[X]\ny=1\n", "Default Applications", "a/b", "c"), "[X]\ny=1\n\n[Default Applications]\na/b=c\n");
    EXPECT_EQ(withoutKey(list, "Default Applications", "a/b"), list);
    // A comment that looks like a key is not one.
    EXPECT_EQ(keyValue("[G]\n#a=1\n a = 2 \n", "G", "a"), "2");
}

TEST(DesktopFiles, OneTypeOfAPackageStandsAlone)
{
    const std::string package = "<?xml version=\"1.0\"?>\n<mime-info xmlns=\"x\">\n"
                                "  <mime-type type=\"application/a\">\n    <glob pattern=\"*.a\"/>\n  </mime-type>\n"
                                "  <mime-type type=\"application/b\">\n    <glob pattern=\"*.b\"/>\n  </mime-type>\n"
                                "</mime-info>\n";
    EXPECT_EQ(singleTypePackage(package, "application/b"),
        "<?xml version=\"1.0\"?>\n<mime-info xmlns=\"x\">\n"
        "  <mime-type type=\"application/b\">\n    <glob pattern=\"*.b\"/>\n  </mime-type>\n</mime-info>\n");
    EXPECT_EQ(singleTypePackage(package, "application/c"), std::nullopt);
    EXPECT_EQ(singleTypePackage("<mime-type type=\"application/a\">", "application/a"), std::nullopt);
    EXPECT_TRUE(packageDefinesType(package, "application/a"));
    EXPECT_FALSE(packageDefinesType(package, "application/ab"));
    EXPECT_TRUE(typeListNames("text/plain\napplication/a\n", "application/a"));
    EXPECT_FALSE(typeListNames("application/ab\n", "application/a"));
}
