// vorlanex-protocol with a browser that misbehaves (a stand-in given by $VORLANEX_PROTOCOL_BROWSER):
// one that never finishes is ended after the time without progress the test sets, one that prints
// nothing or cannot start is a failure, and the program stopped meanwhile (as the window stops it)
// ends too; each with a Czech message, no PDF, no process left and no temporary folder, which would
// hold the protocol.
#include <gtest/gtest.h>
#include <signal.h>

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <string>

namespace vorlanex::spis::protocol {
namespace {

const QString kProtocolProgram = QStringLiteral(VORLANEX_PROTOCOL_PROGRAM);

struct Misbehaving {
    const char* name;
    const char* script;  // the stand-in's shell script after it wrote its process id to $1; empty: none
    const char* message;
    bool stopped;  // SIGTERM once the browser runs, as the window stops the program
};

class MisbehavingBrowser : public ::testing::TestWithParam<Misbehaving> {};

TEST_P(MisbehavingBrowser, FailsWithACzechMessageAndLeavesNothingRunning) {
    QTemporaryDir folder;
    const QString html = folder.filePath(QStringLiteral("protokol.html"));
    const QString pdf = folder.filePath(QStringLiteral("protokol.pdf"));
    const QString pid_file = folder.filePath(QStringLiteral("browser.pid"));
    {
        QFile file(html);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write("<!DOCTYPE html><html><body><p>x</p></body></html>\n");
    }
    QString browser = folder.filePath(QStringLiteral("chybi"));
    if (*GetParam().script != '\0') {
        browser = folder.filePath(QStringLiteral("browser.sh"));
        QFile file(browser);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(QStringLiteral("#!/bin/sh\necho $$ > '%1'\n%2\n")
                       .arg(pid_file, QString::fromUtf8(GetParam().script))
                       .toUtf8());
        file.close();
        ASSERT_TRUE(file.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner));
    }
    QProcess program;
    QTemporaryDir temporary;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TMPDIR"), temporary.path());
    environment.insert(QStringLiteral("VORLANEX_PROTOCOL_BROWSER"), browser);
    environment.insert(QStringLiteral("VORLANEX_PROTOCOL_STALL_SECONDS"),
                       GetParam().stopped ? QStringLiteral("60") : QStringLiteral("1"));
    program.setProcessEnvironment(environment);
    program.start(kProtocolProgram, {QStringLiteral("--html"), html, QStringLiteral("--pdf"), pdf});
    if (GetParam().stopped) {
        for (int i = 0; i < 200 && !QFile::exists(pid_file); ++i) program.waitForFinished(50);
        ASSERT_TRUE(QFile::exists(pid_file)) << "the browser did not start";
        program.terminate();
    }
    ASSERT_TRUE(program.waitForFinished(30'000)) << "vorlanex-protocol did not end";
    EXPECT_EQ(program.exitStatus(), QProcess::NormalExit);
    EXPECT_EQ(program.exitCode(), 1);
    const QString error = QString::fromUtf8(program.readAllStandardError());
    EXPECT_TRUE(error.contains(QString::fromUtf8(GetParam().message))) << error.toStdString();
    EXPECT_FALSE(QFile::exists(pdf));
    EXPECT_EQ(QDir(temporary.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden), QStringList());
    QFile pid(pid_file);
    if (pid.open(QIODevice::ReadOnly)) {
        const pid_t browser_pid = pid.readAll().trimmed().toInt();
        ASSERT_GT(browser_pid, 0);
        EXPECT_NE(::kill(browser_pid, 0), 0) << "the browser still runs";
    }
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(ProtocolWatchdog, MisbehavingBrowser, ::testing::Values(
    Misbehaving{"NeverFinishes", "exec sleep 120",
                "Protokol se nepodařilo vytvořit: žádná jeho část nebyla hotová za 1 s.", false},
    Misbehaving{"StoppedMeanwhile", "exec sleep 120", "Vytváření protokolu bylo zastaveno.", true},
    Misbehaving{"EndsWithoutAPdf", "echo 'no printer here'; exit 0", "Prohlížeč protokol do PDF nevytiskl (stav 0).", false},
    Misbehaving{"WritesSomethingElse", "for a in \"$@\"; do case $a in --print-to-pdf=*) echo '<html>' > \"${a#*=}\";; esac; done",
                "Prohlížeč protokol do PDF nevytiskl", false},
    Misbehaving{"CannotStart", "", "nelze spustit", false}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace vorlanex::spis::protocol
