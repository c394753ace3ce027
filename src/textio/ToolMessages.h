#pragma once

namespace notarium::tool_messages {

// The texts the external-tool commands (save as text, print through a tool, edit in the text
// editor) show; the caption of their message boxes is kCaption.
inline constexpr const char* kCaption = "お知らせ";
inline constexpr const char* kNoTool
    = "外部ツール（テキストエディタ）が指定されていません。\r\nオプションの「外部ツール」を設定してください。";
// A tool that is set but cannot be started (not installed, not executable); %1 is its command.
inline constexpr const char* kCannotStart
    = "外部ツール %1 を起動できませんでした。\r\nオプションの「外部ツール」の設定を確かめてください。";

} // namespace notarium::tool_messages
