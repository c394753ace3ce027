#pragma once

#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>

namespace notarium {

enum class SettingType : std::uint8_t { Bool, Integer, String, Colour, ColourName, FontStyle };

// Where a default comes from. Text: the literal, written as the settings file holds it. The others
// depend on the machine (PlatformDefaults) or on another key.
enum class DefaultSource : std::uint8_t {
    None, // no value: the key is not written at start-up
    Text,
    SameAsRead, // the dialog shows what a reader gets
    WindowX,
    WindowY,
    WindowWidth,
    WindowHeight,
    DocumentsFolder,
    DefaultFolderValue, // whatever DefaultFolder holds, or its own default
    PrintTool,
    PrintOption,
    TabSize,
};

struct SettingDefault {
    DefaultSource source = DefaultSource::None;
    std::string_view text;

    constexpr SettingDefault(const char* literal)
        : source(DefaultSource::Text)
        , text(literal)
    {
    }
    constexpr SettingDefault(DefaultSource from)
        : source(from)
    {
    }
};

// Short names for the rows below.
namespace setting_table_names {
using enum DefaultSource;
inline constexpr DefaultSource Same = SameAsRead;
inline constexpr DefaultSource NoFill = None;
} // namespace setting_table_names

// Every setting with a fixed name, once: id, section, key, type, the default a reader gets when the
// key is missing, the default the options dialog shows instead (Same for most keys), and the value
// written at start-up when the key is missing (NoFill for most keys).
//
// The few keys with two defaults are the ones where the program differs by place: backspace
// unindent is on at start-up but the dialog offers it off; the text export treats missing marks and
// outline numbers as off while the dialog proposes "■●★" and numbers; the print tool reads empty
// but is filled in at start-up. The text editor reads empty and stays so: empty means the program
// looks for an installed editor when it needs one (Settings::textEditor).
// clang-format off
#define NOTARIUM_SETTINGS(X) \
    X(WinX,             Window,   WinX,             Integer,   WindowX,          Same,               NoFill) \
    X(WinY,             Window,   WinY,             Integer,   WindowY,          Same,               NoFill) \
    X(WinW,             Window,   WinW,             Integer,   WindowWidth,      Same,               NoFill) \
    X(WinH,             Window,   WinH,             Integer,   WindowHeight,     Same,               NoFill) \
    X(Maximized,        Window,   Maximized,        Bool,      "0",              Same,               NoFill) \
    X(TreeWidth,        Window,   Tree,             Integer,   "182",            Same,               NoFill) \
    X(DefaultFolder,    Notarium, DefaultFolder,    String,    DocumentsFolder,  Same,               NoFill) \
    X(BackupFile,       Notarium, BackupFile,       Bool,      "0",              Same,               NoFill) \
    X(BackupFolder,     Notarium, BackupFolder,     String,    DocumentsFolder,  DefaultFolderValue, NoFill) \
    X(TemplateFolder,   Notarium, TemplateFolder,   String,    DocumentsFolder,  Same,               NoFill) \
    X(TextEditor,       Notarium, TextEditor,       String,    "",               Same,               NoFill) \
    X(TextOption,       Notarium, TextOption,       String,    "",               Same,               NoFill) \
    X(WaitTime,         Notarium, WaitTime,         Integer,   "2000",           Same,               NoFill) \
    X(TextBadEnv,       Notarium, TextBadEnv,       Bool,      "0",              Same,               NoFill) \
    X(PrintTool,        Notarium, PrintTool,        String,    "",               Same,               PrintTool) \
    X(PrintOption,      Notarium, PrintOption,      String,    PrintOption,      Same,               PrintOption) \
    X(ExchangeEncoding, Notarium, ExchangeEncoding, String,    "UTF-8",          Same,               NoFill) \
    X(ShowHint,         Notarium, ShowHint,         Bool,      "1",              Same,               NoFill) \
    X(HintPauseTime,    Notarium, HintPauseTime,    Integer,   "300",            Same,               NoFill) \
    X(AutoIndent,       Notarium, AutoIndent,       Bool,      "1",              Same,               NoFill) \
    X(BSUnindent,       Notarium, BSUnindent,       Bool,      "1",              "0",                NoFill) \
    X(ExpandAll,        Notarium, ExpandAll,        Bool,      "0",              Same,               NoFill) \
    X(SaveData,         Notarium, SaveData,         Bool,      "0",              Same,               NoFill) \
    X(NoTreeIcons,      Notarium, NoTreeIcons,      Bool,      "0",              Same,               NoFill) \
    X(NoMenuIcons,      Notarium, NoMenuIcons,      Bool,      "0",              Same,               NoFill) \
    X(NoTitle,          Notarium, NoTitle,          Bool,      "0",              Same,               NoFill) \
    X(InTaskTray,       Notarium, InTaskTray,       Bool,      "0",              Same,               NoFill) \
    X(HotKey,           Notarium, HotKey,           Integer,   "0",              Same,               NoFill) \
    X(NoConfirm,        Notarium, NoConfirm,        Bool,      "0",              Same,               NoFill) \
    X(ControlIME,       Notarium, ControlIME,       Bool,      "0",              Same,               NoFill) \
    X(ImTitleOff,       Notarium, ImTitleOff,       Bool,      "0",              Same,               NoFill) \
    X(HelpListSorted,   Notarium, HelpListSorted,   Bool,      "0",              Same,               NoFill) \
    X(EnDateStyle,      Notarium, EnDateStyle,      Bool,      "0",              Same,               NoFill) \
    X(DateFormat,       Notarium, DateFormat,       String,    "yyyy/mm/dd",     Same,               NoFill) \
    X(EnTimeStyle,      Notarium, EnTimeStyle,      Bool,      "0",              Same,               NoFill) \
    X(TimeFormat,       Notarium, TimeFormat,       String,    "hh:mm",          Same,               NoFill) \
    X(Loaded,           Notarium, Loaded,           Bool,      "0",              Same,               NoFill) \
    X(Handle,           Notarium, Handle,           Integer,   "0",              Same,               NoFill) \
    X(EnableCtrlAltKey, Notarium, EnableCtrlAltKey, Bool,      "0",              Same,               NoFill) \
    X(AutoSaveMinutes,  Notarium, AutoSaveMinutes,  Integer,   "5",              Same,               NoFill) \
    X(TreeFontName,     TreePane, FontName,         String,    "ＭＳ Ｐゴシック", Same,              NoFill) \
    X(TreeFontSize,     TreePane, FontSize,         Integer,   "9",              Same,               NoFill) \
    X(TreeFontStyle,    TreePane, FontStyle,        FontStyle, "0",              Same,               NoFill) \
    X(TreeFontColor,    TreePane, FontColor,        Colour,    "clWindowText",   Same,               NoFill) \
    X(TreeBackColor,    TreePane, BackColor,        Colour,    "clWindow",       Same,               NoFill) \
    X(RowSelect,        TreePane, RowSelect,        Bool,      "0",              Same,               NoFill) \
    X(NoButtons,        TreePane, NoButtons,        Bool,      "0",              Same,               NoFill) \
    X(HotTrack,         TreePane, HotTrack,         Bool,      "0",              Same,               NoFill) \
    X(NoChipHint,       TreePane, NoChipHint,       Bool,      "0",              Same,               NoFill) \
    X(SaveTreeState,    TreePane, SaveTreeState,    Bool,      "1",              Same,               NoFill) \
    X(SaveCurrentNode,  TreePane, SaveCurrentNode,  Bool,      "1",              Same,               NoFill) \
    X(SaveBookmark,     TreePane, SaveBookmark,     Bool,      "1",              Same,               NoFill) \
    X(SkipClosedTree,   TreePane, SkipClosedTree,   Bool,      "1",              Same,               NoFill) \
    X(TitleFontName,    TitleEdit, FontName,        String,    "ＭＳ Ｐゴシック", Same,              NoFill) \
    X(TitleFontSize,    TitleEdit, FontSize,        Integer,   "9",              Same,               NoFill) \
    X(TitleFontStyle,   TitleEdit, FontStyle,       FontStyle, "0",              Same,               NoFill) \
    X(TitleFontColor,   TitleEdit, FontColor,       Colour,    "clWindowText",   Same,               NoFill) \
    X(TitleBackColor,   TitleEdit, BackColor,       Colour,    "clWindow",       Same,               NoFill) \
    X(MemoFontName,     MemoPane, FontName,         String,    "Terminal",       Same,               NoFill) \
    X(MemoFontSize,     MemoPane, FontSize,         Integer,   "14",             Same,               NoFill) \
    X(MemoFontStyle,    MemoPane, FontStyle,        FontStyle, "0",              Same,               NoFill) \
    X(MemoFontColor,    MemoPane, FontColor,        Colour,    "clWindowText",   Same,               NoFill) \
    X(MemoBackColor,    MemoPane, BackColor,        Colour,    "clWindow",       Same,               NoFill) \
    X(ShowCaretLine,    MemoPane, ShowCaretLine,    Bool,      "0",              Same,               NoFill) \
    X(LineColor,        MemoPane, LineColor,        ColourName, "clBlue",        Same,               NoFill) \
    X(ShowReturn,       MemoPane, ShowReturn,       Bool,      "0",              Same,               NoFill) \
    X(CRLFColor,        MemoPane, CRLFColor,        ColourName, "clTeal",        Same,               NoFill) \
    X(ReverseMarks,     MemoPane, ReverseMarks,     Bool,      "0",              Same,               NoFill) \
    X(TabSize,          MemoPane, TabSize,          Integer,   TabSize,          Same,               NoFill) \
    X(TabControl,       MemoPane, TabControl,       Bool,      "0",              Same,               NoFill) \
    X(ImeWUText,        MemoPane, icWUText,         ColourName, "clBlack",       Same,               NoFill) \
    X(ImeWUBack,        MemoPane, icWUBack,         ColourName, "clYellow",      Same,               NoFill) \
    X(ImeWULine,        MemoPane, icWULine,         Bool,      "0",              Same,               NoFill) \
    X(ImeUTText,        MemoPane, icUTText,         ColourName, "clBlue",        Same,               NoFill) \
    X(ImeUTBack,        MemoPane, icUTBack,         ColourName, "clWhite",       Same,               NoFill) \
    X(ImeUTLine,        MemoPane, icUTLine,         Bool,      "0",              Same,               NoFill) \
    X(ImeWTText,        MemoPane, icWTText,         ColourName, "clBlack",       Same,               NoFill) \
    X(ImeWTBack,        MemoPane, icWTBack,         ColourName, "clAqua",        Same,               NoFill) \
    X(ImeWTLine,        MemoPane, icWTLine,         Bool,      "0",              Same,               NoFill) \
    X(ImeTFText,        MemoPane, icTFText,         ColourName, "clBlack",       Same,               NoFill) \
    X(ImeTFBack,        MemoPane, icTFBack,         ColourName, "clWhite",       Same,               NoFill) \
    X(ImeTFLine,        MemoPane, icTFLine,         Bool,      "1",              Same,               NoFill) \
    X(SetOutlineNumber, MemoPane, SetOutlineNumber, Bool,      "0",              "1",                NoFill) \
    X(SeparateChar,     MemoPane, SeparateChar,     String,    ".",              Same,               NoFill) \
    X(SetLevelMark,     MemoPane, SetLevelMark,     Bool,      "0",              Same,               NoFill) \
    X(LevelMark1,       MemoPane, LevelMark1,       String,    "",               Same,               NoFill) \
    X(LevelMark2,       MemoPane, LevelMark2,       String,    "",               Same,               NoFill) \
    X(LevelMark3,       MemoPane, LevelMark3,       String,    "",               Same,               NoFill) \
    X(LevelMark4,       MemoPane, LevelMark4,       String,    "",               Same,               NoFill) \
    X(LevelMark5,       MemoPane, LevelMark5,       String,    "",               Same,               NoFill) \
    X(LevelMark6,       MemoPane, LevelMark6,       String,    "",               Same,               NoFill) \
    X(LevelMark7,       MemoPane, LevelMark7,       String,    "",               Same,               NoFill) \
    X(LevelMark8,       MemoPane, LevelMark8,       String,    "",               Same,               NoFill) \
    X(LevelMark9,       MemoPane, LevelMark9,       String,    "",               Same,               NoFill) \
    X(SetIconMark,      MemoPane, SetIconMark,      Bool,      "0",              Same,               NoFill) \
    X(CategoryMark,     MemoPane, CategoryMark,     String,    "",               "■",                NoFill) \
    X(MemoMark,         MemoPane, MemoMark,         String,    "",               "●",                NoFill) \
    X(ResultMark,       MemoPane, ResultMark,       String,    "",               "★",                NoFill) \
    X(MakeContents,     MemoPane, MakeContents,     Bool,      "0",              Same,               NoFill) \
    X(SetEmptyLine,     MemoPane, SetEmptyLine,     Bool,      "0",              Same,               NoFill) \
    X(IgnorePFolder,    MemoPane, IgnorePFolder,    Bool,      "0",              Same,               NoFill) \
    X(ForceNewPage,     MemoPane, ForceNewPage,     Bool,      "0",              Same,               NoFill) \
    X(PreviewText,      MemoPane, PreviewText,      Bool,      "0",              Same,               NoFill) \
    X(TitleCount,       DefaultTitles, TitleCount,  Integer,   "1",              Same,               NoFill) \
    X(CheckIndex,       DefaultTitles, CheckIndex,  Integer,   "0",              Same,               NoFill)
// clang-format on

enum class SettingId : std::uint16_t {
#define NOTARIUM_SETTING_ID(id, section, key, type, read, dialog, fill) id,
    NOTARIUM_SETTINGS(NOTARIUM_SETTING_ID)
#undef NOTARIUM_SETTING_ID
};

struct SettingRow {
    SettingId id;
    std::string_view section;
    std::string_view key;
    SettingType type;
    SettingDefault readDefault;
    SettingDefault dialogDefault;
    SettingDefault startupFill;
};

namespace setting_table_names {
#define NOTARIUM_SETTING_ROW(id, section, key, type, read, dialog, fill)                                     \
    SettingRow { SettingId::id, #section, #key, SettingType::type, read, dialog, fill },
inline constexpr SettingRow kSettingRows[] = { NOTARIUM_SETTINGS(NOTARIUM_SETTING_ROW) };
#undef NOTARIUM_SETTING_ROW
} // namespace setting_table_names

inline constexpr std::size_t kSettingCount = std::size(setting_table_names::kSettingRows);

constexpr const SettingRow& settingRow(SettingId id)
{
    return setting_table_names::kSettingRows[static_cast<std::size_t>(id)];
}

constexpr std::span<const SettingRow> settingRows()
{
    return setting_table_names::kSettingRows;
}

// A key with its type, so that reads and writes are checked by the compiler:
// settings.get(key::ShowHint) is a bool, settings.set(key::TreeFontSize, 10) takes an int.
template <SettingType Type> struct SettingKey {
    SettingId id;
};

namespace key {
#define NOTARIUM_SETTING_KEY(id, section, key, type, read, dialog, fill)                                     \
    inline constexpr SettingKey<SettingType::type> id { SettingId::id };
NOTARIUM_SETTINGS(NOTARIUM_SETTING_KEY)
#undef NOTARIUM_SETTING_KEY
} // namespace key

} // namespace notarium
