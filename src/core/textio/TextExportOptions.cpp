#include "core/textio/TextExportOptions.h"

#include "core/settings/Settings.h"
#include "core/text/Cp932Codec.h"

namespace notarium {

TextExportOptions TextExportOptions::fromSettings(const Settings& settings)
{
    TextExportOptions options;
    options.makeContents = settings.get(key::MakeContents);
    options.emptyLine = settings.get(key::SetEmptyLine);
    options.ignorePaperFolder = settings.get(key::IgnorePFolder);
    options.newPage = settings.get(key::ForceNewPage);

    // A title carries one decoration only: outline numbers before level marks before kind marks.
    options.separator = cp932::fromUtf8(settings.get(key::SeparateChar));
    if (settings.get(key::SetOutlineNumber)) {
        options.marking = TitleMarking::OutlineNumbers;
    } else if (settings.get(key::SetLevelMark)) {
        options.marking = TitleMarking::LevelMarks;
        constexpr SettingKey<SettingType::String> levelKeys[kLevelMarkCount]
            = { key::LevelMark1, key::LevelMark2, key::LevelMark3, key::LevelMark4, key::LevelMark5,
                  key::LevelMark6, key::LevelMark7, key::LevelMark8, key::LevelMark9 };
        for (std::size_t i = 0; i < kLevelMarkCount; ++i)
            options.levelMarks[i] = cp932::fromUtf8(settings.get(levelKeys[i]));
    } else if (settings.get(key::SetIconMark)) {
        options.marking = TitleMarking::KindMarks;
    }
    // The kind marks are read whenever SetIconMark is on, so a caller that switches the marking
    // style has them at hand.
    if (settings.get(key::SetIconMark)) {
        options.categoryMark = cp932::fromUtf8(settings.get(key::CategoryMark));
        options.memoMark = cp932::fromUtf8(settings.get(key::MemoMark));
        options.resultMark = cp932::fromUtf8(settings.get(key::ResultMark));
    }

    options.encoding = parseTextEncoding(settings.get(key::ExchangeEncoding)).value_or(TextEncoding::Utf8);
    return options;
}

TextExportOptions TextExportOptions::effectiveFor(ExportScope scope) const
{
    TextExportOptions effective = *this;
    if (scope != ExportScope::WholeFile) {
        effective.ignorePaperFolder = false;
        effective.newPage = false;
    }
    if (scope == ExportScope::SelectedMemo)
        effective.makeContents = false;
    return effective;
}

} // namespace notarium
