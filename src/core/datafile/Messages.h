#pragma once

#include <string_view>

namespace notarium {

enum class MessageIcon { None, Information, Warning, Error, Question };

// A message box as the window shows it: the program's own text (UTF-8), caption and icon.
struct Message {
    std::string_view text;
    std::string_view caption;
    MessageIcon icon = MessageIcon::None;

    bool empty() const { return text.empty(); }
};

namespace messages {

inline constexpr Message CannotOpenFile {
    "指定されたファイルを開けませんでした。\r\nファイルが存在しないか、ファイル名が無効です。",
    "ファイルエラー", MessageIcon::Information
};
inline constexpr Message EmptyFile { "ファイルにデータが含まれていません。", "ファイルエラー",
    MessageIcon::Information };
inline constexpr Message NotDataFile { "Notarium のデータファイルではありません。", "ファイルエラー",
    MessageIcon::Information };
inline constexpr Message MalformedFile {
    "データファイルの読み込み中にエラーが発生しました。\r\nファイルが壊れている可能性があります。",
    "ファイルエラー", MessageIcon::Error
};
inline constexpr Message TooLargeFile {
    "ファイルが大きすぎるため開けません。\r\nNotarium のデータファイルは 2 GB (2,147,483,647 バイト) までです。",
    "ファイルエラー", MessageIcon::Error
};
inline constexpr Message TooLargeToSave {
    "文書が大きすぎるため保存できません。\r\nNotarium のデータファイルは 2 GB (2,147,483,647 バイト) までです。\r\n"
    "一部のメモを別の文書に移してから保存してください。",
    "ファイル I/O エラー", MessageIcon::Error
};
inline constexpr Message CannotSaveFile {
    "ファイルを保存できませんでした。\r\n保存しようとしたファイルは、他で使用されている可能性があります。",
    "ファイル I/O エラー", MessageIcon::Error
};

} // namespace messages
} // namespace notarium
