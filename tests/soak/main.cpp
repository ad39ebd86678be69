// quilo_soak [--seconds N] [--stall-limit-ms MS] [--seed N] [--skip ACTION,...]
// The whole program on the emulated processor under a restless user (SoakDriver);
// prints its figures and exits with 1 on a stall past the limit or a lost setting.
#include "SoakDriver.h"
#include "app/CMainFrame.h"
#include "app/CVORNEXv13App.h"
#include "gui/app/ScriptedPrompter.h"
#include "ui/WindowFactories.h"

#include <QApplication>
#include <QStandardPaths>
#include <QTemporaryDir>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <random>

using namespace quilo;

int main(int argc, char** argv) {
    QStandardPaths::setTestModeEnabled(true);
    QApplication qt(argc, argv);
    SoakDriver::Options options;
    options.seed = std::random_device{}();
    for (int i = 1; i + 1 < argc; i += 2) {
        const int value = std::atoi(argv[i + 1]);
        if (std::strcmp(argv[i], "--seconds") == 0) {
            options.seconds = value;
        } else if (std::strcmp(argv[i], "--stall-limit-ms") == 0) {
            options.stallLimitMs = value;
        } else if (std::strcmp(argv[i], "--skip") == 0) {
            options.skip = QString::fromUtf8(argv[i + 1]).split(QLatin1Char(','));
        } else if (std::strcmp(argv[i], "--seed") == 0) {
            options.seed = static_cast<unsigned>(std::strtoul(argv[i + 1], nullptr, 10));
        } else {
            std::fprintf(stderr, "quilo_soak: unknown option %s\n", argv[i]);
            return 2;
        }
    }

    QTemporaryDir dir;
    AppOptions o;
    o.settingsFile = dir.filePath(QStringLiteral("settings.ini"));
    o.helpFolder = dir.filePath(QStringLiteral("help"));
    o.session.emulate = true;
    o.watchDevices = false;
    auto app = std::make_unique<CVORNEXv13App>(o);
    auto prompter = std::make_unique<test::ScriptedPrompter>();
    test::ScriptedPrompter& answers = *prompter;
    app->setPrompter(std::move(prompter));
    registerWindows(app->windowFactories());
    app->InitInstance({}, true);

    SoakDriver driver(*app, answers, QDir(dir.path()), options);
    driver.start();
    QApplication::exec();

    // The end as the user makes it: unsaved changes are let go.
    QElapsedTimer exit;
    exit.start();
    answers.yesNoCancel.push_back(Prompter::Answer::No);
    app->mainFrame()->close();
    app.reset();
    return driver.report(exit.elapsed());
}
