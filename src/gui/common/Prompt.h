// Every message box, question and file or folder choice of the windows goes through
// this interface. The program uses DialogPrompt; window tests install a scripted one
// that records what was shown and gives the answers.
#pragma once

#include <QString>

class QWidget;

namespace xinghe::gui {

class Prompt {
public:
    enum class Kind {
        Message,       // a plain message with OK
        Information,   // an information box with OK
        Confirmation,  // a question with Yes and No
        Error,         // the standard error box (database and other unexpected errors)
        Captioned,     // a message with a caption of its own
        Folder,        // folder choice
        OpenFile,      // choice of an existing file
        SaveFile,      // choice of a file to write
    };

    virtual ~Prompt() = default;

    virtual void message(QWidget* parent, const QString& text) = 0;
    virtual void information(QWidget* parent, const QString& text) = 0;
    // True when the user answered Yes.
    virtual bool confirm(QWidget* parent, const QString& text) = 0;
    virtual void error(QWidget* parent, const QString& text) = 0;
    virtual void captioned(QWidget* parent, const QString& caption, const QString& text) = 0;

    // The chosen path, or an empty text when the user cancelled. `filter` is in Qt's
    // form, e.g. "Word 文档 (*.doc *.docx)".
    virtual QString chooseFolder(QWidget* parent, const QString& caption,
                                 const QString& startFolder) = 0;
    virtual QString chooseOpenFile(QWidget* parent, const QString& caption,
                                   const QString& startFolder, const QString& filter) = 0;
    virtual QString chooseSaveFile(QWidget* parent, const QString& caption,
                                   const QString& proposedFile, const QString& filter) = 0;
};

// The real boxes and dialogs: QMessageBox and QFileDialog.
class DialogPrompt : public Prompt {
public:
    void message(QWidget* parent, const QString& text) override;
    void information(QWidget* parent, const QString& text) override;
    bool confirm(QWidget* parent, const QString& text) override;
    void error(QWidget* parent, const QString& text) override;
    void captioned(QWidget* parent, const QString& caption, const QString& text) override;
    QString chooseFolder(QWidget* parent, const QString& caption,
                         const QString& startFolder) override;
    QString chooseOpenFile(QWidget* parent, const QString& caption, const QString& startFolder,
                           const QString& filter) override;
    QString chooseSaveFile(QWidget* parent, const QString& caption, const QString& proposedFile,
                           const QString& filter) override;
};

}  // namespace xinghe::gui
