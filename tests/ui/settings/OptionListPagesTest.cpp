// The options pages for the default titles, the date and time formats, the input helper list and
// the text export, driven through the window's Option1 command as a person would; after OK, the
// window's own commands (new node, date insertion, helper list, save as text) use what was written.
#include "app/FileCommands.h"
#include "core/settings/DateTimeFormat.h"
#include "core/settings/DateTimeFormatChoices.h"
#include "core/textio/TextExportOptions.h"
#include "editor/ImeLineEdit.h"
#include "editor/TExtMemo.h"
#include "editor/TRetCheckListBox.h"
#include "memo/HelperListCommands.h"
#include "memo/MemoCommands.h"
#include "memo/TDefTitles.h"
#include "settings/DateTimePage.h"
#include "settings/TOptionDialog.h"
#include "support/WindowFixture.h"
#include "textio/TTextOutOptions.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QtTest>

#include <functional>

using namespace notarium;

namespace {

QByteArray fileBytes(const QString& path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

template <typename T = QPushButton> T* control(const QWidget& parent, const char* name)
{
    return parent.findChild<T*>(QString::fromLatin1(name));
}

QStringList strings(std::initializer_list<const char*> texts)
{
    QStringList list;
    for (const char* text : texts)
        list << QString::fromUtf8(text);
    return list;
}

QStringList rows(const QListWidget* list)
{
    QStringList texts;
    for (int row = 0; row < list->count(); ++row)
        texts << list->item(row)->text();
    return texts;
}

QStringList entries(const QComboBox* box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

QStringList choices(std::span<const std::string_view> formats)
{
    QStringList texts;
    for (const std::string_view format : formats)
        texts << QString::fromUtf8(format.data(), static_cast<qsizetype>(format.size()));
    return texts;
}

void clickRow(QListWidget* list, int row)
{
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(row)).center());
}

// Replaces the box's text by typing; a character beyond ASCII comes as a key event with its text.
void typeInto(QLineEdit* box, const QString& text)
{
    box->setFocus();
    box->selectAll();
    for (const QChar c : text) {
        if (c.unicode() < 0x80) {
            QTest::keyClick(box, c.toLatin1());
        } else {
            QTest::sendKeyEvent(QTest::Press, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
            QTest::sendKeyEvent(QTest::Release, box, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
}

// Saturday 2025-01-04 13:02:03: afternoon, so the morning and afternoon names show.
DateTimeValue fixedMoment()
{
    return DateTimeValue { 2025, 1, 4, 6, 13, 2, 3, 0 };
}

QString formatted(const QString& pattern, bool englishDate, bool englishTime)
{
    return QString::fromStdString(FormatDateTime(
        pattern.toStdString(), fixedMoment(), DateTimeNames::forStyle(englishDate, englishTime)));
}

// Clicks the button that opens the title editor, types the three titles and presses OK (Cancel
// when typed is empty). Returns the editor's caption and the titles it opened with.
QStringList useTitleEditor(QPushButton* opener, const QStringList& typed)
{
    QStringList seen;
    QObject guard;
    QTimer::singleShot(0, &guard, [&] {
        auto* editor = qobject_cast<TDefTitles*>(QApplication::activeModalWidget());
        if (editor == nullptr)
            return;
        seen << editor->windowTitle();
        const char* names[] = { "CatEdit", "MemEdit", "ResEdit" };
        for (int i = 0; i < 3; ++i) {
            auto* box = control<QLineEdit>(*editor, names[i]);
            seen << box->text();
            if (!typed.isEmpty())
                typeInto(box, typed.at(i));
        }
        control(*editor, typed.isEmpty() ? "CancelButton" : "OKButton")->click();
    });
    opener->click();
    return seen;
}

} // namespace

class OptionListPagesTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;

    TMainForm1& win() { return f->window(); }
    Settings& settings() { return f->settings(); }
    QString helperFile() const { return f->path(QStringLiteral("HelpList.dat")); }
    void openSample() { QVERIFY(win().fileCommands().openDocument(f->writeSampleFile(), false)); }

    // Opens the options dialog on the page; body runs while it is shown, then OK (or Cancel)
    // closes it.
    void options(int page, const std::function<void(TOptionDialog&, QWidget&)>& body, bool ok = true)
    {
        const std::function<void(TOptionDialog&)> act = [&](TOptionDialog& dialog) {
            dialog.showPage(page);
            body(dialog, *dialog.page(page));
        };
        QVERIFY(f->whileModal("Option1", act, ok ? "OKButton" : "CancelButton"));
    }

private slots:
    void init()
    {
        f = std::make_unique<WindowFixture>();
        f->start(true);
    }
    void cleanup() { f.reset(); }

    void defaultTitlesKeepOneCheckedAndGoToNewNodes()
    {
        settings().setDefaultTitleSets({ { "Category,Memo,Result", "\"New idea\",Idea,Answer" }, 1 });
        options(TOptionDialog::DefaultTitlePage, [](TOptionDialog&, QWidget& page) {
            auto* list = control<TRetCheckListBox>(page, "TitleCheckList");
            QPushButton* remove = control(page, "DeleteTitleButton");
            // A title with a blank shows in the quotes it is stored with.
            QCOMPARE(rows(list), strings({ "Category, Memo, Result", "\"New idea\", Idea, Answer" }));
            QVERIFY(!list->isChecked(0) && list->isChecked(1));

            // Checking one unchecks the other; the checked one cannot be unchecked.
            clickRow(list, 0);
            QTest::keyClick(list, Qt::Key_Space);
            QVERIFY(list->isChecked(0) && !list->isChecked(1));
            QTest::keyClick(list, Qt::Key_Space);
            QVERIFY(list->isChecked(0) && !list->isChecked(1));

            // Deleting the checked set checks the first one left; the last set cannot go.
            remove->click();
            QCOMPARE(rows(list), strings({ "\"New idea\", Idea, Answer" }));
            QVERIFY(list->isChecked(0) && !remove->isEnabled());

            QCOMPARE(
                useTitleEditor(control(page, "AddTitleButton"), strings({ "Kapitel", "Notiz", "Schluss" })),
                strings({ "デフォルトのタイトルを追加", "", "", "" }));
            QCOMPARE(rows(list), strings({ "\"New idea\", Idea, Answer", "Kapitel, Notiz, Schluss" }));
            QVERIFY(list->isChecked(0) && !list->isChecked(1) && remove->isEnabled());

            // Editing starts on the chosen set's titles; Cancel changes nothing.
            clickRow(list, 0);
            QPushButton* edit = control(page, "EditTitleButton");
            QCOMPARE(useTitleEditor(edit, {}),
                strings({ "デフォルトのタイトルを編集", "New idea", "Idea", "Answer" }));
            QCOMPARE(list->item(0)->text(), QStringLiteral("\"New idea\", Idea, Answer"));
            useTitleEditor(edit, strings({ "New idea", "Thought", "Answer" }));
            QCOMPARE(list->item(0)->text(), QStringLiteral("\"New idea\", Thought, Answer"));

            clickRow(list, 1);
            QTest::keyClick(list, Qt::Key_Space);
        });

        const DefaultTitleSets written = settings().defaultTitleSets();
        QCOMPARE(written.sets,
            (std::vector<std::string> { "\"New idea\",Thought,Answer", "Kapitel,Notiz,Schluss" }));
        QCOMPARE(written.checkIndex, 1);
        openSample();
        f->select("A");
        f->trigger("NewCategory");
        QCOMPARE(win().titleEdit()->text(), QStringLiteral("Kapitel"));

        // A section emptied by hand, its index pointing nowhere, still offers one set, checked.
        settings().setDefaultTitleSets({ {}, 5 });
        options(TOptionDialog::DefaultTitlePage, [](TOptionDialog&, QWidget& page) {
            auto* list = control<TRetCheckListBox>(page, "TitleCheckList");
            QCOMPARE(rows(list), strings({ "Category, Memo, Result" }));
            QVERIFY(list->isChecked(0));
        });
        QCOMPARE(settings().defaultTitleSets().checkIndex, 0);
    }

    void dateAndTimeFormatsFollowTheStyleAndKeepTypedFormats()
    {
        const QString ownDate = QStringLiteral("yyyy.mm.dd ddd"); // not one the list offers
        settings().set(key::DateFormat, ownDate.toStdString());
        options(TOptionDialog::DateTimePage, [&](TOptionDialog&, QWidget& page) {
            qobject_cast<DateTimePage*>(&page)->setClock(fixedMoment);
            auto* date = control<QComboBox>(page, "cbDateFormat");
            QCOMPARE(entries(date), choices(dateFormatChoices(false)));
            QCOMPARE(date->currentIndex(), -1);
            QCOMPARE(date->currentText(), ownDate);
            QCOMPARE(control<QLabel>(page, "DateSample")->text(), QStringLiteral("2025.01.04 土"));
            QCOMPARE(control<QComboBox>(page, "cbTimeFormat")->currentIndex(), 0);
            QCOMPARE(control<QLabel>(page, "TimeSample")->text(), QStringLiteral("13:02"));
        });
        QCOMPARE(QString::fromStdString(settings().get(key::DateFormat)), ownDate); // kept by OK

        const QString ownTime = QStringLiteral("ampm h時m分s秒");
        options(TOptionDialog::DateTimePage, [&](TOptionDialog&, QWidget& page) {
            qobject_cast<DateTimePage*>(&page)->setClock(fixedMoment);
            auto* date = control<QComboBox>(page, "cbDateFormat");
            auto* time = control<QComboBox>(page, "cbTimeFormat");
            auto* dateSample = control<QLabel>(page, "DateSample");
            auto* timeSample = control<QLabel>(page, "TimeSample");

            // A style fills its list and picks its first format.
            control<QRadioButton>(page, "rbDateEn")->click();
            QCOMPARE(entries(date), choices(dateFormatChoices(true)));
            QCOMPARE(date->currentIndex(), 0);
            QCOMPARE(dateSample->text(), formatted(date->itemText(0), true, false));
            control<QRadioButton>(page, "rbTimeEn")->click();
            QCOMPARE(entries(time), choices(timeFormatChoices(true)));
            QCOMPARE(timeSample->text(), formatted(time->itemText(0), true, true));
            QVERIFY(timeSample->text().endsWith(QStringLiteral("PM")));
            control<QRadioButton>(page, "rbTimeJp")->click();
            QCOMPARE(entries(time), choices(timeFormatChoices(false)));
            QCOMPARE(time->currentIndex(), 0);

            // Choosing from the list, and typing a format of one's own: the sample follows.
            date->setCurrentIndex(3);
            QCOMPARE(dateSample->text(), formatted(date->itemText(3), true, false));
            typeInto(time->lineEdit(), ownTime);
            QCOMPARE(timeSample->text(), QStringLiteral("午後 1時2分3秒"));
            QCOMPARE(time->count(), static_cast<int>(timeFormatChoices(false).size()));
        });
        const QString chosenDate = choices(dateFormatChoices(true)).at(3);
        QVERIFY(settings().get(key::EnDateStyle) && !settings().get(key::EnTimeStyle));
        QCOMPARE(QString::fromStdString(settings().get(key::DateFormat)), chosenDate);
        QCOMPARE(QString::fromStdString(settings().get(key::TimeFormat)), ownTime);

        // The window's date and time insertion take the new formats.
        openSample();
        f->select("A");
        win().memoCommands().setClock(fixedMoment);
        TExtMemo* memo = win().memoPane();
        win().activateWindow();
        memo->setFocus();
        QTRY_VERIFY(memo->hasFocus());
        memo->setSelPos(0);
        f->trigger("InsertDate");
        f->trigger("InsertTime");
        QVERIFY(memo->toPlainText().startsWith(
            formatted(chosenDate, true, false) + QStringLiteral("午後 1時2分3秒")));
    }

    void helperListIsEditedAndSavedForTheWindow()
    {
        // No file: an empty list, no message, and OK without a phrase leaves no file behind.
        options(TOptionDialog::HelperListPage, [](TOptionDialog&, QWidget& page) {
            QCOMPARE(control<QListWidget>(page, "HelpListBox")->count(), 0);
            QVERIFY(!control<QLineEdit>(page, "HelpStringEdit")->isEnabled());
        });
        QCOMPARE(f->prompt().count(), 0);
        QVERIFY(!QFile::exists(helperFile()));

        QFile file(helperFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("beta\r\n\r\nAlpha\r\n");
        file.close();
        options(TOptionDialog::HelperListPage, [](TOptionDialog&, QWidget& page) {
            auto* list = control<QListWidget>(page, "HelpListBox");
            auto* box = control<QLineEdit>(page, "HelpStringEdit");
            auto* sorted = control<QCheckBox>(page, "cbSortList");
            QCOMPARE(rows(list), strings({ "beta", "", "Alpha" })); // the empty line is a phrase

            // The chosen row shows in the string box, where typing changes it.
            clickRow(list, 0);
            QCOMPARE(box->text(), QStringLiteral("beta"));
            typeInto(box, QStringLiteral("gamma"));
            // Add puts an empty row after the chosen one and the focus into the box.
            control(page, "AddStringButton")->click();
            QVERIFY(box->hasFocus() && box->text().isEmpty());
            typeInto(box, QStringLiteral("デルタ"));
            QCOMPARE(rows(list), strings({ "gamma", "デルタ", "", "Alpha" }));

            // Sorting, letters without regard to case; the chosen phrase stays chosen.
            sorted->click();
            QCOMPARE(rows(list), strings({ "", "Alpha", "gamma", "デルタ" }));
            QCOMPARE(list->currentRow(), 3);

            // A move switches sorting off and moves the row by one place.
            control(page, "UpStringButton")->click();
            QVERIFY(!sorted->isChecked());
            QCOMPARE(rows(list), strings({ "", "Alpha", "デルタ", "gamma" }));
            clickRow(list, 0);
            QVERIFY(!control(page, "UpStringButton")->isEnabled());
            control(page, "DownStringButton")->click();
            QCOMPARE(rows(list), strings({ "Alpha", "", "デルタ", "gamma" }));

            // Edit focuses the box on the chosen row; delete takes the row away.
            clickRow(list, 3);
            control(page, "EditStringButton")->click();
            QVERIFY(box->hasFocus() && box->text() == QStringLiteral("gamma"));
            control(page, "DeleteStringButton")->click();
            QCOMPARE(rows(list), strings({ "Alpha", "", "デルタ" }));
            QVERIFY(!control(page, "DownStringButton")->isEnabled()); // the last row is chosen now
        });
        QCOMPARE(fileBytes(helperFile()), QStringLiteral("Alpha\n\nデルタ\n").toUtf8());
        QVERIFY(!settings().get(key::HelpListSorted));
        const TRetListBox* windowList = win().findChild<HelperListCommands*>()->list();
        QCOMPARE(rows(windowList), strings({ "Alpha", "", "デルタ" }));

        // Sorting alone is a change too: saved, and the window's list is sorted.
        options(TOptionDialog::HelperListPage,
            [](TOptionDialog&, QWidget& page) { control<QCheckBox>(page, "cbSortList")->click(); });
        QVERIFY(settings().get(key::HelpListSorted));
        QCOMPARE(fileBytes(helperFile()), QStringLiteral("\nAlpha\nデルタ\n").toUtf8());
        QCOMPARE(rows(windowList), strings({ "", "Alpha", "デルタ" }));
    }

    void aHelperListFileThatCannotBeReadIsNeverWrittenOver()
    {
        // Sparse: too large to read, and the phrase at its start stays unread.
        QFile file(helperFile());
        QVERIFY(file.open(QIODevice::WriteOnly));
        file.write("kept\r\n");
        file.close();
        QVERIFY(QFile::resize(helperFile(), 2147483648LL));
        options(TOptionDialog::HelperListPage, [](TOptionDialog&, QWidget& page) {
            QCOMPARE(control<QListWidget>(page, "HelpListBox")->count(), 0);
            control(page, "AddStringButton")->click();
            typeInto(control<QLineEdit>(page, "HelpStringEdit"), QStringLiteral("new"));
        });
        QCOMPARE(QFileInfo(helperFile()).size(), 2147483648LL);
        QFile kept(helperFile());
        QVERIFY(kept.open(QIODevice::ReadOnly));
        QCOMPARE(kept.read(6), QByteArray("kept\r\n"));
        QCOMPARE(f->prompt().last().caption, QStringLiteral("ファイル I/O エラー"));
        QVERIFY(f->prompt().last().text.contains(QStringLiteral("変更は保存しませんでした")));
    }

    void textExportMarksAreEditedAndUsedByTheExport()
    {
        options(TOptionDialog::TextExportPage, [](TOptionDialog&, QWidget& page) {
            auto* separator = control<QLineEdit>(page, "SepChar");
            auto* level = control<QComboBox>(page, "cbNodeLevel");
            auto* levelMark = control<QLineEdit>(page, "mkNodeLevel");
            auto* category = control<QLineEdit>(page, "CategoryMark");

            // Nothing stored: the dialog's defaults, and only the chosen style's controls enabled.
            QVERIFY(control<QRadioButton>(page, "rbOutlineNumbers")->isChecked());
            QCOMPARE(category->text() + control<QLineEdit>(page, "MemoMark")->text()
                    + control<QLineEdit>(page, "ResultMark")->text(),
                QStringLiteral("■●★"));
            QVERIFY(separator->isEnabled() && !level->isEnabled() && !levelMark->isEnabled()
                && !category->isEnabled());
            typeInto(separator, QStringLiteral("-->>"));
            QCOMPARE(separator->text(), QStringLiteral("-->")); // three characters at most
            control<QRadioButton>(page, "rbIconMarks")->click();
            QVERIFY(category->isEnabled() && !separator->isEnabled() && !level->isEnabled());

            // Each level keeps its own mark.
            control<QRadioButton>(page, "rbNodeLevels")->click();
            QVERIFY(level->isEnabled() && levelMark->isEnabled() && !category->isEnabled());
            QCOMPARE(level->itemText(8), QStringLiteral("Level #9"));
            typeInto(levelMark, QStringLiteral("12345678901"));
            QCOMPARE(levelMark->text(), QStringLiteral("1234567890")); // ten at most
            typeInto(levelMark, QStringLiteral("◆"));
            level->setCurrentIndex(1);
            QCOMPARE(levelMark->text(), QString());
            typeInto(levelMark, QStringLiteral("・"));
            level->setCurrentIndex(0);
            QCOMPARE(levelMark->text(), QStringLiteral("◆"));

            control<QCheckBox>(page, "cbMakeContents")->click();
            control<QCheckBox>(page, "cbSetEmptyLine")->click();
        });
        QVERIFY(!settings().get(key::SetOutlineNumber) && settings().get(key::SetLevelMark)
            && !settings().get(key::SetIconMark));
        QCOMPARE(settings().get(key::SeparateChar), std::string("-->"));
        QCOMPARE(settings().get(key::LevelMark2), std::string("・"));
        QCOMPARE(settings().get(key::CategoryMark), std::string("■"));
        QVERIFY(settings().contains(key::LevelMark9) && settings().contains(key::PreviewText));

        // Save as text: its options window starts from the switches; the titles carry the marks.
        openSample();
        const QString out = f->path(QStringLiteral("out.txt"));
        f->services().files.scriptSave(out);
        bool contentsOffered = false;
        QObject guard;
        QTimer::singleShot(0, &guard, [&] {
            if (auto* window = qobject_cast<TTextOutOptions*>(QApplication::activeModalWidget())) {
                contentsOffered = control<QCheckBox>(*window, "cbMakeContents")->isChecked();
                window->okButton()->click();
            }
        });
        f->trigger("SaveAsText");
        QVERIFY(contentsOffered);
        const QString text = QString::fromUtf8(fileBytes(out));
        QVERIFY2(text.startsWith(QStringLiteral("目次\r\n====\r\n\r\n\t◆A\r\n\t◆B\r\n\t\t・C\r\n")),
            qPrintable(text));
        QVERIFY2(text.contains(QStringLiteral("\r\n◆B\r\n\r\n・C\r\n\r\nc\r\n")), qPrintable(text));
    }

    void textExportStyleIsTheOneTheExportUses_data()
    {
        // SetOutlineNumber, SetLevelMark, SetIconMark as stored ('-' missing) and the style shown.
        QTest::addColumn<QString>("stored");
        QTest::addColumn<QString>("shown");
        QTest::newRow("nothing stored: the dialog's default")
            << QStringLiteral("---") << QStringLiteral("rbOutlineNumbers");
        QTest::newRow("level marks alone") << QStringLiteral("-1-") << QStringLiteral("rbNodeLevels");
        QTest::newRow("level and kind marks by hand")
            << QStringLiteral("011") << QStringLiteral("rbNodeLevels");
        QTest::newRow("all three by hand") << QStringLiteral("111") << QStringLiteral("rbOutlineNumbers");
        QTest::newRow("kind marks") << QStringLiteral("001") << QStringLiteral("rbIconMarks");
        QTest::newRow("every style off") << QStringLiteral("000") << QString();
    }

    void textExportStyleIsTheOneTheExportUses()
    {
        QFETCH(QString, stored);
        QFETCH(QString, shown);
        const SettingKey<SettingType::Bool> keys[]
            = { key::SetOutlineNumber, key::SetLevelMark, key::SetIconMark };
        for (int i = 0; i < 3; ++i)
            if (stored.at(i) != QLatin1Char('-'))
                settings().set(keys[i], stored.at(i) == QLatin1Char('1'));
        settings().set(key::CategoryMark, std::string("C"));
        const TitleMarking before = TextExportOptions::fromSettings(settings()).marking;

        options(TOptionDialog::TextExportPage, [&](TOptionDialog&, QWidget& page) {
            for (const char* name : { "rbOutlineNumbers", "rbNodeLevels", "rbIconMarks" })
                QCOMPARE(control<QRadioButton>(page, name)->isChecked(), shown == QLatin1String(name));
            QCOMPARE(
                control<QLineEdit>(page, "CategoryMark")->isEnabled(), shown == QLatin1String("rbIconMarks"));
        });

        // OK leaves the export as it was (a fresh file gets the dialog's outline numbers).
        const TextExportOptions after = TextExportOptions::fromSettings(settings());
        QCOMPARE(after.marking, stored == QLatin1String("---") ? TitleMarking::OutlineNumbers : before);
        int on = 0;
        for (const auto each : keys)
            on += settings().get(each) ? 1 : 0;
        QCOMPARE(on, shown.isEmpty() ? 0 : 1);
        if (after.marking == TitleMarking::KindMarks)
            QCOMPARE(after.categoryMark, std::string("C"));
    }

    void noPageWritesOnApply()
    {
        // These pages take effect through OK only: their controls do not offer Apply, and Apply
        // leaves their keys and the helper list file alone.
        options(
            TOptionDialog::TextExportPage,
            [](TOptionDialog& dialog, QWidget& page) {
                control<QRadioButton>(page, "rbIconMarks")->click();
                control<QRadioButton>(*dialog.page(TOptionDialog::DateTimePage), "rbDateEn")->click();
                control<QCheckBox>(*dialog.page(TOptionDialog::HelperListPage), "cbSortList")->click();
                QVERIFY(!control(dialog, "ApplyButton")->isEnabled());
                dialog.apply();
            },
            false);
        for (const SettingId id : { key::SetIconMark.id, key::SetOutlineNumber.id, key::EnDateStyle.id,
                 key::DateFormat.id, key::HelpListSorted.id, key::TitleCount.id })
            QVERIFY(!settings().contains(id));
        QVERIFY(!QFile::exists(helperFile()));
    }
};

QTEST_MAIN(OptionListPagesTest)
#include "OptionListPagesTest.moc"
