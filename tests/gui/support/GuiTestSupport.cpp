#include "support/GuiTestSupport.h"

#include <QAbstractButton>
#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QTest>
#include <random>

#include "core/store/Startup.h"

namespace xinghe::guitest {

QStringList ScriptedPrompt::texts() const {
    QStringList out;
    for (const Shown& s : shown_) out << s.text;
    return out;
}

void ScriptedPrompt::message(QWidget*, const QString& text) {
    shown_.push_back({Kind::Message, {}, text});
}

void ScriptedPrompt::information(QWidget*, const QString& text) {
    shown_.push_back({Kind::Information, {}, text});
}

bool ScriptedPrompt::confirm(QWidget*, const QString& text) {
    shown_.push_back({Kind::Confirmation, {}, text});
    if (confirmations_.empty()) {
        ++unanswered_;
        return false;
    }
    const bool yes = confirmations_.front();
    confirmations_.pop_front();
    return yes;
}

void ScriptedPrompt::error(QWidget*, const QString& text) {
    shown_.push_back({Kind::Error, {}, text});
}

void ScriptedPrompt::captioned(QWidget*, const QString& caption, const QString& text) {
    shown_.push_back({Kind::Captioned, caption, text});
}

QString ScriptedPrompt::nextChoice() {
    if (choices_.empty()) {
        ++unanswered_;
        return {};
    }
    QString c = choices_.front();
    choices_.pop_front();
    return c;
}

QString ScriptedPrompt::chooseFolder(QWidget*, const QString& caption, const QString&) {
    shown_.push_back({Kind::Folder, caption, {}});
    return nextChoice();
}

QString ScriptedPrompt::chooseOpenFile(QWidget*, const QString& caption, const QString&,
                                       const QString&) {
    shown_.push_back({Kind::OpenFile, caption, {}});
    return nextChoice();
}

QString ScriptedPrompt::chooseSaveFile(QWidget*, const QString& caption, const QString& proposed,
                                       const QString&) {
    shown_.push_back({Kind::SaveFile, caption, proposed});
    return nextChoice();
}

void ModalScript::expect(const QString& objectName, Step step) {
    expected_.emplace_back(objectName, std::move(step));
}

int ModalScript::run(QDialog& dialog) {
    opened_ << dialog.objectName();
    if (expected_.empty() || expected_.front().first != dialog.objectName()) {
        unexpected_ << dialog.objectName();
        return QDialog::Rejected;
    }
    Step step = std::move(expected_.front().second);
    expected_.pop_front();
    dialog.setResult(QDialog::Rejected);
    dialog.show();
    step(dialog);
    if (dialog.isVisible()) dialog.hide();
    return dialog.result();
}

QStringList ModalScript::problems() const {
    QStringList out;
    for (const QString& name : unexpected_) out << "unexpected dialog " + name;
    for (const auto& e : expected_) out << "dialog never opened: " + e.first;
    return out;
}

TestEnv::TestEnv() {
    std::random_device rd;
    root_ = std::filesystem::temp_directory_path() /
            ("xinghe-guitest-" + std::to_string(rd()) + std::to_string(rd()));
    std::filesystem::create_directories(root_);
    store_ =
        std::make_unique<store::DataStore>(store::HomeFolder(root_ / "home"), root_ / "register");
    const auto report = store::runStartup(*store_);
    if (!report.messages.empty()) {
        throw std::runtime_error("start-up of the test home failed: " +
                                 report.messages.front().detail);
    }
    ctx_ = std::make_unique<gui::AppContext>(*store_, prompt);
    ctx_->modalRunner = [this](QDialog& d) { return modals.run(d); };
}

TestEnv::~TestEnv() {
    ctx_.reset();
    store_->closeAll();
    store_.reset();
    std::error_code ec;
    std::filesystem::remove_all(root_, ec);
}

void click(QObject* parent, const QString& buttonName) {
    auto* b = child<QAbstractButton>(parent, buttonName);
    if (!b->isEnabled()) throw std::runtime_error(buttonName.toStdString() + " is disabled");
    b->click();
}

void type(QObject* parent, const QString& editName, const QString& text) {
    auto* e = child<QLineEdit>(parent, editName);
    e->selectAll();
    // Typed over the selection, one key per character (QTest::keyClicks only knows
    // Latin-1). A read-only edit ignores it all, as it does for the user.
    if (text.isEmpty()) QTest::keyClick(e, Qt::Key_Delete);
    for (const QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QKeyEvent release(QEvent::KeyRelease, Qt::Key_unknown, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(e, &press);
        QApplication::sendEvent(e, &release);
    }
}

}  // namespace xinghe::guitest
