// xinghe [--home DIR]: the desktop program.
#include <QApplication>
#include <QCommandLineParser>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>
#include <optional>

#include "core/store/DataStore.h"
#include "core/store/HomeFolder.h"
#include "core/store/Startup.h"
#include "gui/common/Prompt.h"
#include "gui/common/Texts.h"
#include "gui/common/WindowSupport.h"
#include "gui/shell/AppContext.h"
#include "gui/shell/LoginWindow.h"

using namespace xinghe;

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("xinghe"));
    QApplication::setApplicationDisplayName(gui::productTitle());
    QApplication::setApplicationVersion(QStringLiteral(XINGHE_VERSION));
    // The program ends when the log-in window closes, not when the last window does
    // (the log-in window is hidden while the main menu is up).
    QApplication::setQuitOnLastWindowClosed(false);
    gui::setUpFonts(app);

    QTranslator qtTexts;
    if (qtTexts.load(QLocale(QLocale::Chinese, QLocale::China), QStringLiteral("qtbase"),
                     QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QApplication::installTranslator(&qtTexts);
    }

    QCommandLineParser parser;
    parser.setApplicationDescription(gui::productTitle());
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption homeOption(QStringLiteral("home"),
                                        QStringLiteral("主目录 (home folder of the working files)"),
                                        QStringLiteral("DIR"));
    parser.addOption(homeOption);
    parser.process(app);

    gui::DialogPrompt prompt;
    std::optional<store::DataStore> store;
    store::StartupReport report;
    try {
        std::optional<std::filesystem::path> explicitHome;
        if (parser.isSet(homeOption)) {
            explicitHome = std::filesystem::path(parser.value(homeOption).toStdString());
        }
        store.emplace(store::HomeFolder(store::chooseHomeFolder(explicitHome)));
        report = store::runStartup(*store);
    } catch (const std::exception& e) {
        prompt.error(nullptr, QString::fromUtf8(e.what()));
        return 1;
    }
    for (const store::StartupMessage& m : report.messages) {
        if (!m.detail.empty()) qWarning("%s", m.detail.c_str());
        prompt.message(nullptr, gui::qs(m.text));
    }

    gui::AppContext ctx{*store, prompt};
    gui::LoginWindow login(ctx);
    QObject::connect(&login, &gui::LoginWindow::exitRequested, &app, &QApplication::quit,
                     Qt::QueuedConnection);
    login.show();
    return app.exec();
}
