#pragma once

#include "core/datafile/Messages.h"

#include <string>
#include <string_view>

namespace notarium::messages {

inline constexpr Message NotTemplateFile { "Notarium のテンプレートファイルではありません。",
    "ファイルエラー", MessageIcon::Information };
inline constexpr Message TemplateVersionError { "テンプレートファイルのバージョンエラーです。",
    "ファイルエラー", MessageIcon::Information };
inline constexpr Message CorruptTemplateFile {
    "テンプレートファイルの読み込み中にエラーが発生しました。\r\nファイルが壊れている可能性があります。",
    "ファイルエラー", MessageIcon::Error
};
// Refused before a byte is read: the pages could not be saved in a data file either.
inline constexpr Message TooLargeTemplateFile {
    "ファイルが大きすぎるため読み込めません。\r\nNotarium のテンプレートファイルは 2 GB (2,147,483,647 バイト) までです。",
    "ファイルエラー", MessageIcon::Error
};
inline constexpr Message CannotSaveTemplate { "テンプレートを保存できませんでした。\r\n保存しようとしたファイ"
                                              "ルは、他で使用されている可能性があります。",
    "ファイル I/O エラー", MessageIcon::Error };
// The missing-file message names the file, so its text is built per use: caption and icon here,
// the text from templateFileMissingText.
inline constexpr Message TemplateFileMissing { "", "ファイルエラー", MessageIcon::Error };

// "テンプレートファイル " + path + " が見つかりません。"; path is UTF-8, as the store holds it.
inline std::string templateFileMissingText(std::string_view path)
{
    std::string text = "テンプレートファイル ";
    text += path;
    text += " が見つかりません。";
    return text;
}

} // namespace notarium::messages
