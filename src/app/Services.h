#pragma once

#include "core/datafile/Messages.h"

#include <QColor>
#include <QFont>
#include <QList>
#include <QPoint>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <optional>

class QWidget;

namespace notarium {

enum class PromptButtons { Ok, OkCancel, YesNo, YesNoCancel };
enum class PromptAnswer { Ok, Cancel, Yes, No };

// Every message box and beep of the program goes through here, so tests can read what a person
// would see and answer for them.
class PromptService {
public:
    virtual ~PromptService() = default;
    virtual PromptAnswer ask(QWidget* parent, const QString& text, const QString& caption, MessageIcon icon,
                             PromptButtons buttons)
        = 0;
    virtual void beep() = 0;
    // The same question with the box's top left corner at offset from the parent window's: a
    // question a search may ask again and again stays where the hand expects it.
    virtual PromptAnswer askAt(QWidget* parent, const QString& text, const QString& caption, MessageIcon icon,
        PromptButtons buttons, QPoint offset)
    {
        (void)offset;
        return ask(parent, text, caption, icon, buttons);
    }

    void tell(QWidget* parent, const QString& text, const QString& caption, MessageIcon icon)
    {
        ask(parent, text, caption, icon, PromptButtons::Ok);
    }
    // A core message (text, caption and icon) with an OK button.
    void tell(QWidget* parent, const Message& message)
    {
        tell(parent, QString::fromUtf8(message.text.data(), static_cast<qsizetype>(message.text.size())),
             QString::fromUtf8(message.caption.data(), static_cast<qsizetype>(message.caption.size())), message.icon);
    }
};

// A font as the font dialog shows it: the face, its size and style, and the text colour.
struct FontChoice {
    QFont font;
    QColor colour;
};

// The open and save dialogs, the folder browser and the font and colour dialogs. An empty result
// means the person cancelled.
class FileDialogService {
public:
    virtual ~FileDialogService() = default;
    // With readOnly given, the dialog shows an "open read-only" box, unticked, and readOnly tells
    // whether it was ticked.
    virtual QString openFileName(QWidget* parent, const QString& title, const QString& folder, const QString& filter,
                                 bool* readOnly = nullptr)
        = 0;
    virtual QString saveFileName(QWidget* parent, const QString& title, const QString& initialPath,
                                 const QString& filter, const QString& defaultSuffix)
        = 0;
    // A folder, starting in folder; caption is the text above the folders.
    virtual QString folderName(QWidget* parent, const QString& caption, const QString& folder) = 0;
    // The font dialog, preset with initial. A face the machine lacks is shown as the face that
    // stands in for it, and a choice of that same face keeps the original name.
    virtual std::optional<FontChoice> chooseFont(QWidget* parent, const FontChoice& initial) = 0;
    // The colour dialog, fully open, preset with initial; customColours (16 entries) are shown
    // and take what the person changed in them.
    virtual std::optional<QColor> chooseColour(QWidget* parent, const QColor& initial, QList<QColor>& customColours)
        = 0;
};

// A program started with ProcessLauncher::start, as long as its caller waits for it. Dropping the
// handle only stops the watching: the program runs on.
class StartedProgram {
public:
    virtual ~StartedProgram() = default;
    virtual bool hasEnded() const = 0;
};

// Starting other programs (another window of Notarium, the text editor, the print tool).
class ProcessLauncher {
public:
    virtual ~ProcessLauncher() = default;
    virtual bool startDetached(const QString& program, const QStringList& arguments) = 0;
    // Starts a program as startDetached does (it outlives this one) and watches it: ended runs
    // once, from the event loop, when the program has ended. Null when it could not be started.
    virtual std::unique_ptr<StartedProgram> start(
        const QString& program, const QStringList& arguments, std::function<void()> ended)
        = 0;
};

// The program's help, opened at a help context number (each is an anchor of the help pages).
class HelpService {
public:
    virtual ~HelpService() = default;
    virtual void showContext(int context) = 0;
    virtual void showContents() = 0;
    // The topic search, ready for typing.
    virtual void showSearch() = 0;
};

// The services a window works with; the program passes the real ones, tests their recorders.
struct Services {
    PromptService* prompt = nullptr;
    FileDialogService* files = nullptr;
    ProcessLauncher* launcher = nullptr;
    HelpService* help = nullptr;
};

} // namespace notarium
