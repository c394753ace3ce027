#pragma once

namespace notarium::tool_messages {

// The texts the external-tool commands (save as text, print through a tool, edit in the text
// editor) show; the caption of their message boxes is kCaption.
inline constexpr const char* kCaption = "お知らせ";
inline constexpr const char* kNoTool
    = "外部ツール（テキストエディタ）が指定されていません。\r\nオプションの「外部ツール」を設定してください。";

} // namespace notarium::tool_messages
