#pragma once

#include <QDialog>

#include <optional>
#include <string>
#include <vector>

class QPushButton;

namespace notarium {

class TRetEdit;

// The small dialog that edits one default title set: the titles a new category, memo and result
// get. The options dialog opens it to add a set or to change one.
class TDefTitles : public QDialog {
    Q_OBJECT

public:
    explicit TDefTitles(QWidget* parent = nullptr);

    // Starts on a stored set (its comma text), or on three empty titles for a new one; the caption
    // says which.
    void start(const std::optional<std::string>& commaText);
    // The set as comma text; the items past the third, which a set stored without its quotes may
    // hold, are kept.
    std::string commaText() const;

    // Opens the dialog below anchor (the button that asked for it) and returns the edited set, or
    // nothing when it was cancelled.
    static std::optional<std::string> edit(
        QWidget* parent, const QWidget* anchor, const std::optional<std::string>& commaText);

private:
    void updateOk();
    void takeTitles();

    TRetEdit* m_category = nullptr;
    TRetEdit* m_memo = nullptr;
    TRetEdit* m_result = nullptr;
    QPushButton* m_ok = nullptr;
    std::vector<std::string> m_items;
};

} // namespace notarium
