// Support for the window tests: a fresh home folder with its databases, a scripted
// prompt that records every box and gives queued answers, and a modal script that
// drives each dialog a window opens while it is open.
#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QWidget>
#include <deque>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <vector>

#include "core/store/DataStore.h"
#include "gui/common/Prompt.h"
#include "gui/shell/AppContext.h"

namespace xinghe::guitest {

using gui::Prompt;

struct Shown {
    Prompt::Kind kind;
    QString caption;  // empty for the kinds without a caption of their own
    QString text;
};

class ScriptedPrompt : public Prompt {
public:
    // Answers for the next questions, in order.
    void answerYes() { confirmations_.push_back(true); }
    void answerNo() { confirmations_.push_back(false); }
    void answerChoice(const QString& path) { choices_.push_back(path); }

    const std::vector<Shown>& shown() const { return shown_; }
    QStringList texts() const;
    QString lastText() const { return shown_.empty() ? QString() : shown_.back().text; }
    void clear() { shown_.clear(); }
    // Questions asked while no answer was queued (they were answered No / cancelled).
    int unanswered() const { return unanswered_; }
    // Queued answers nobody asked for.
    std::size_t unusedAnswers() const { return confirmations_.size() + choices_.size(); }

    void message(QWidget*, const QString& text) override;
    void information(QWidget*, const QString& text) override;
    bool confirm(QWidget*, const QString& text) override;
    void error(QWidget*, const QString& text) override;
    void captioned(QWidget*, const QString& caption, const QString& text) override;
    QString chooseFolder(QWidget*, const QString& caption, const QString& start) override;
    QString chooseOpenFile(QWidget*, const QString& caption, const QString& start,
                           const QString& filter) override;
    QString chooseSaveFile(QWidget*, const QString& caption, const QString& proposed,
                           const QString& filter) override;

private:
    QString nextChoice();

    std::vector<Shown> shown_;
    std::deque<bool> confirmations_;
    std::deque<QString> choices_;
    int unanswered_ = 0;
};

// Drives the dialogs a window opens modally. Each expected dialog is named by its
// objectName and gets a step that runs while the dialog is open (shown); the dialog's
// result is what the opener gets back. A dialog that was not expected is recorded
// and rejected at once.
class ModalScript {
public:
    using Step = std::function<void(QDialog&)>;

    void expect(const QString& objectName, Step step);
    int run(QDialog& dialog);

    // objectNames of every dialog opened, in order.
    const QStringList& opened() const { return opened_; }
    // Unexpected dialogs and expectations left over.
    QStringList problems() const;

private:
    std::deque<std::pair<QString, Step>> expected_;
    QStringList opened_;
    QStringList unexpected_;
};

// A fresh home folder with the databases made by the start-up, removed afterwards.
class TestEnv {
public:
    TestEnv();
    ~TestEnv();
    TestEnv(const TestEnv&) = delete;
    TestEnv& operator=(const TestEnv&) = delete;

    store::DataStore& store() { return *store_; }
    db::Connection& db() { return store_->system(); }
    ScriptedPrompt prompt;
    ModalScript modals;
    gui::AppContext& ctx() { return *ctx_; }

private:
    std::filesystem::path root_;
    std::unique_ptr<store::DataStore> store_;
    std::unique_ptr<gui::AppContext> ctx_;
};

// A child widget by objectName; throws when there is none (the test then fails).
template <typename T>
T* child(QObject* parent, const QString& name) {
    T* w = parent->findChild<T*>(name);
    if (!w) {
        throw std::runtime_error("no " + std::string(T::staticMetaObject.className()) + " named " +
                                 name.toStdString() + " in " + parent->objectName().toStdString());
    }
    return w;
}

// Clicks a button (any QAbstractButton) by objectName.
void click(QObject* parent, const QString& buttonName);
// Replaces a line edit's text as typed by the user (key clicks).
void type(QObject* parent, const QString& editName, const QString& text);

}  // namespace xinghe::guitest
