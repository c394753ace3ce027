// The options dialog's pages of fonts and colours and of the input method colours, driven through
// the window's Option1 command: what the samples show, what OK and Apply write to the settings
// file and what the window's panes then look like.
#include "app/TreePane.h"
#include "core/settings/IniFile.h"
#include "editor/ImeLineEdit.h"
#include "editor/TExtMemo.h"
#include "settings/TColourBox.h"
#include "settings/TOptionDialog.h"
#include "support/WindowFixture.h"

#include <QApplication>
#include <QCheckBox>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QTextBlock>
#include <QTimer>
#include <QTreeWidget>
#include <QtTest>

#include <functional>

using namespace notarium;

namespace {

template <typename Control> Control* control(const QWidget& dialog, const char* name)
{
    auto* found = dialog.findChild<Control*>(QString::fromLatin1(name));
    if (found == nullptr)
        qWarning("no control %s", name);
    return found;
}

QPushButton* button(const QWidget& dialog, const char* name)
{
    return control<QPushButton>(dialog, name);
}

// Picks the entry as a person would from the drop-down list ("Lime" for clLime).
void pick(TColourBox* box, const char* shownName)
{
    const int index = box->findText(QString::fromLatin1(shownName));
    QVERIFY2(index >= 0, shownName);
    box->setCurrentIndex(index);
}

QLabel* labelOf(const QWidget& dialog, const QWidget* buddy)
{
    for (QLabel* label : dialog.findChildren<QLabel*>())
        if (label->buddy() == buddy)
            return label;
    return nullptr;
}

// The text each sample shows for its font: the tree's third and fourth node, the title line, the
// memo's first line.
QString sampleCaption(const QWidget& dialog, int pane)
{
    switch (pane) {
    case 0: {
        const QTreeWidgetItem* fontNode = control<QTreeWidget>(dialog, "SampleTree")->topLevelItem(0)->child(0);
        return fontNode->child(0)->text(0) + QLatin1Char('|') + fontNode->child(1)->text(0);
    }
    case 1:
        return control<QLineEdit>(dialog, "SampleTitle")->text();
    default:
        return control<TExtMemo>(dialog, "SampleMemo")->document()->firstBlock().text();
    }
}

QWidget* sampleWidget(const QWidget& dialog, int pane)
{
    static const char* const names[] = { "SampleTree", "SampleTitle", "SampleMemo" };
    return control<QWidget>(dialog, names[pane]);
}

bool containsColour(const QImage& image, const QColor& colour)
{
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            if (image.pixelColor(x, y) == colour)
                return true;
    return false;
}

} // namespace

class FontPageTest : public QObject {
    Q_OBJECT

private:
    std::unique_ptr<WindowFixture> f;

    TMainForm1& win() { return f->window(); }
    QString settingsPath() const { return f->path(QStringLiteral("notarium.ini")); }

    // The settings file as it is on the disk now.
    QString stored(const char* section, const char* key) const
    {
        IniFile ini;
        ini.load(QFile::encodeName(settingsPath()).toStdString());
        return QString::fromStdString(ini.readString(section, key, "(missing)"));
    }

    QWidget* pane(int which)
    {
        switch (which) {
        case 0:
            return win().treePane();
        case 1:
            return win().titleEdit();
        default:
            return win().memoPane();
        }
    }

    // Opens the options dialog on page, lets act work in it, then presses closeButton unless act
    // closed the dialog. False when no dialog opened.
    bool withDialog(int page, const std::function<void(TOptionDialog&)>& act, const char* closeButton = "OKButton")
    {
        const std::function<void(TOptionDialog&)> onPage = [&](TOptionDialog& dialog) {
            dialog.showPage(page);
            act(dialog);
        };
        return f->whileModal("Option1", onPage, closeButton);
    }

private slots:
    void init()
    {
        f = std::make_unique<WindowFixture>();
        f->useSettingsFile(settingsPath());
        f->start();
    }
    void cleanup() { f.reset(); }

    void aChosenFontShowsInTheSampleAndReachesFileAndPane_data()
    {
        QTest::addColumn<int>("which");
        QTest::addColumn<QString>("buttonName");
        QTest::addColumn<QString>("section");
        QTest::addColumn<QString>("presetFace");
        QTest::addColumn<QString>("caption");
        QTest::newRow("tree") << 0 << "TreeFontButton" << "TreePane" << "ＭＳ Ｐゴシック" << "ＭＳ 明朝|12pt";
        QTest::newRow("title") << 1 << "TitleFontButton" << "TitleEdit" << "ＭＳ Ｐゴシック"
                               << "タイトル ＭＳ 明朝 12pt";
        QTest::newRow("memo") << 2 << "MemoFontButton" << "MemoPane" << "Terminal" << "メモ ＭＳ 明朝 12pt";
    }
    void aChosenFontShowsInTheSampleAndReachesFileAndPane()
    {
        QFETCH(int, which);
        QFETCH(QString, buttonName);
        QFETCH(QString, section);
        QFETCH(QString, presetFace);
        QFETCH(QString, caption);
        QFont chosen(QStringLiteral("ＭＳ 明朝"), 12);
        chosen.setBold(true);
        chosen.setItalic(true);
        const QColor maroon(128, 0, 0);
        f->services().files.scriptFont({ chosen, maroon });

        QVERIFY(withDialog(TOptionDialog::FontPage, [&](TOptionDialog& dialog) {
            button(dialog, buttonName.toLatin1().constData())->click();
            // The dialog was preset with the face the settings name, not the one standing in.
            QCOMPARE(f->services().files.lastFont.font.family(), presetFace);
            QCOMPARE(sampleCaption(dialog, which), caption);
            const QWidget* sample = sampleWidget(dialog, which);
            QCOMPARE(sample->font().family(), QStringLiteral("ＭＳ 明朝"));
            QVERIFY(sample->font().bold() && sample->font().italic());
            QCOMPARE(sample->palette().color(QPalette::Text), maroon);
        }));

        const QByteArray sectionName = section.toLatin1();
        QCOMPARE(stored(sectionName.constData(), "FontName"), QStringLiteral("ＭＳ 明朝"));
        QCOMPARE(stored(sectionName.constData(), "FontSize"), QStringLiteral("12"));
        QCOMPARE(stored(sectionName.constData(), "FontStyle"), QStringLiteral("3"));
        QCOMPARE(stored(sectionName.constData(), "FontColor"), QStringLiteral("$000080"));
        const QFont applied = pane(which)->font();
        QCOMPARE(applied.family(), QStringLiteral("ＭＳ 明朝"));
        QVERIFY(applied.bold() && applied.italic());
        if (which != 2) // the memo pane's size follows its character width
            QCOMPARE(applied.pointSize(), 12);
        QCOMPARE(pane(which)->palette().color(QPalette::Text), maroon);
    }

    void coloursKeepTheirStoredFormUnlessChanged()
    {
        const QColor teal(0, 128, 128);
        const QPalette palette = QApplication::palette();
        QVERIFY(withDialog(TOptionDialog::FontPage, [&](TOptionDialog& dialog) {
            QPushButton* apply = button(dialog, "ApplyButton");
            // Cancelled: nothing changes, but the dialog was preset with the sample's colour and
            // the 16 custom colours.
            button(dialog, "TreeColorButton")->click();
            QCOMPARE(f->services().files.lastColour, palette.color(QPalette::Base));
            QCOMPARE(f->services().files.lastCustomColours.size(), qsizetype(16));
            QVERIFY(!apply->isEnabled());

            f->services().files.scriptColour(teal);
            button(dialog, "TreeColorButton")->click();
            QCOMPARE(sampleWidget(dialog, 0)->palette().color(QPalette::Base), teal);
            QVERIFY(apply->isEnabled());
            // A new size with the text colour left as it was.
            f->services().files.scriptFont({ QFont(QStringLiteral("ＭＳ Ｐゴシック"), 10), palette.color(QPalette::Text) });
            button(dialog, "TitleFontButton")->click();
        }));

        QCOMPARE(stored("TreePane", "BackColor"), QStringLiteral("$808000"));
        QCOMPARE(stored("TitleEdit", "FontSize"), QStringLiteral("10"));
        QCOMPARE(stored("TitleEdit", "FontColor"), QStringLiteral("$80000008"));
        QCOMPARE(stored("CustomColors", "ColorA"), QStringLiteral("00FFFFFF"));
        QCOMPARE(win().treePane()->palette().color(QPalette::Base), teal);
    }

    void applyWritesAtOnceAndCancelKeepsIt()
    {
        QVERIFY(withDialog(
            TOptionDialog::FontPage,
            [&](TOptionDialog& dialog) {
                QPushButton* apply = button(dialog, "ApplyButton");
                QVERIFY(!apply->isEnabled());
                f->services().files.scriptFont({ QFont(QStringLiteral("ＭＳ ゴシック"), 16), QColor(0, 0, 0) });
                button(dialog, "MemoFontButton")->click();
                QVERIFY(apply->isEnabled());
                apply->click();
                QVERIFY(dialog.isVisible());
                QVERIFY(!apply->isEnabled());
                QCOMPARE(stored("MemoPane", "FontName"), QStringLiteral("ＭＳ ゴシック"));
                QCOMPARE(stored("MemoPane", "FontSize"), QStringLiteral("16"));
                QCOMPARE(win().memoPane()->font().family(), QStringLiteral("ＭＳ ゴシック"));
                // A change after Apply is lost with Cancel.
                control<QCheckBox>(dialog, "cbCaretMarker")->click();
                QVERIFY(apply->isEnabled());
            },
            "CancelButton"));

        QCOMPARE(stored("MemoPane", "FontName"), QStringLiteral("ＭＳ ゴシック"));
        QCOMPARE(win().memoPane()->font().family(), QStringLiteral("ＭＳ ゴシック"));
        QCOMPARE(stored("MemoPane", "ShowCaretLine"), QStringLiteral("0"));
        QVERIFY(!win().memoPane()->CaretMarker().Enabled);
    }

    void marksAndCaretLineEnableTheirControlsAndShowInTheSample()
    {
        f->settings().set(key::ShowReturn, true);
        const QColor red(255, 0, 0);
        const QColor fuchsia(255, 0, 255);
        QVERIFY(withDialog(TOptionDialog::FontPage, [&](TOptionDialog& dialog) {
            auto* showReturn = control<QCheckBox>(dialog, "cbShowReturn");
            auto* returnColour = control<TColourBox>(dialog, "cbCRColor");
            auto* reverse = control<QCheckBox>(dialog, "cbReverse");
            auto* caretLine = control<QCheckBox>(dialog, "cbCaretMarker");
            auto* lineColour = control<TColourBox>(dialog, "cbLineColor");
            TExtMemo* sample = control<TExtMemo>(dialog, "SampleMemo");
            // As the settings were when the dialog opened.
            QVERIFY(showReturn->isChecked() && returnColour->isEnabled() && reverse->isEnabled());
            QVERIFY(!lineColour->isEnabled() && !labelOf(dialog, lineColour)->isEnabled());
            QVERIFY(sample->EditMarks().CrLf.Enabled && sample->EditMarks().Eot.Enabled);
            QCOMPARE(returnColour->colour(), Colour(0x808000)); // clTeal

            showReturn->click();
            QVERIFY(!returnColour->isEnabled() && !labelOf(dialog, returnColour)->isEnabled() && !reverse->isEnabled());
            QVERIFY(!sample->EditMarks().CrLf.Enabled && !sample->EditMarks().Eot.Enabled);

            caretLine->click();
            QVERIFY(lineColour->isEnabled() && labelOf(dialog, lineColour)->isEnabled());
            QVERIFY(sample->CaretMarker().Enabled && sample->EditArea().Enabled());
            pick(lineColour, "Red");
            QCOMPARE(sample->CaretMarker().Color, red);

            showReturn->click();
            pick(returnColour, "Fuchsia");
            reverse->click();
            QCOMPARE(sample->EditMarks().Eot.Color, fuchsia);
            QVERIFY(sample->EditMarks().CrLf.Reversed);
        }));

        QCOMPARE(stored("MemoPane", "ShowReturn"), QStringLiteral("1"));
        QCOMPARE(stored("MemoPane", "CRLFColor"), QStringLiteral("clFuchsia"));
        QCOMPARE(stored("MemoPane", "ReverseMarks"), QStringLiteral("1"));
        QCOMPARE(stored("MemoPane", "ShowCaretLine"), QStringLiteral("1"));
        QCOMPARE(stored("MemoPane", "LineColor"), QStringLiteral("clRed"));
        const TExtMemo& memo = *win().memoPane();
        QCOMPARE(memo.EditMarks().CrLf.Color, fuchsia);
        QVERIFY(memo.EditMarks().CrLf.Reversed);
        QVERIFY(memo.CaretMarker().Enabled);
        QCOMPARE(memo.CaretMarker().Color, red);
    }

    void imeColoursReachMemoAndSettingsOnOkButNotOnApply()
    {
        const TImeColors before = win().memoPane()->ImeColors();
        const QColor navy(0, 0, 128);
        const QColor lime(0, 255, 0);
        QVERIFY(withDialog(TOptionDialog::FontPage, [&](TOptionDialog& dialog) {
            // The sample stands on the memo colour chosen on the font page.
            f->services().files.scriptColour(navy);
            button(dialog, "MemoColorButton")->click();
            dialog.showPage(TOptionDialog::ImeColourPage);
            auto* sample = control<QWidget>(dialog, "ImeSample");
            QCOMPARE(sample->grab().toImage().pixelColor(3, 3), navy);

            // Filled from the memo pane's set, named as the settings name its colours.
            auto* watchedBack = control<TColourBox>(dialog, "cbWUBack");
            QCOMPARE(watchedBack->currentText(), QStringLiteral("Yellow"));
            QVERIFY(control<QCheckBox>(dialog, "cbTFLine")->isChecked());
            QVERIFY(!containsColour(sample->grab().toImage(), lime));
            pick(watchedBack, "Lime");
            control<QCheckBox>(dialog, "cbTFLine")->click();
            QVERIFY(containsColour(sample->grab().toImage(), lime));

            // Apply writes the memo colour but leaves the input method colours alone.
            button(dialog, "ApplyButton")->click();
            QCOMPARE(stored("MemoPane", "BackColor"), QStringLiteral("$800000"));
            QCOMPARE(stored("MemoPane", "icWUBack"), QStringLiteral("(missing)"));
            QVERIFY(win().memoPane()->ImeColors() == before);
        }));

        const TImeColors& after = win().memoPane()->ImeColors();
        QCOMPARE(after.WatchingUntransfered.icBackground(), lime);
        QVERIFY(!(after.Transfered.Style() & fsUnderline));
        QVERIFY(after.Untransfered == before.Untransfered);
        QCOMPARE(stored("MemoPane", "icWUBack"), QStringLiteral("clLime"));
        QCOMPARE(stored("MemoPane", "icTFLine"), QStringLiteral("0"));
        QCOMPARE(stored("MemoPane", "icUTText"), QStringLiteral("clBlue"));
    }
};

QTEST_MAIN(FontPageTest)
#include "FontPageTest.moc"
