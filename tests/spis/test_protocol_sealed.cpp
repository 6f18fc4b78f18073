// vorlanex-protocol given hostile HTML straight on its command line: the PDF it prints holds the
// document's own text and nothing that a script, a frame, a fetch or a navigation would have
// brought in, and no request leaves for the network (a listener on 127.0.0.1 records any).
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTemporaryDir>
#include <string>

namespace vorlanex::spis::protocol {
namespace {

const QString kProtocolProgram = QStringLiteral(VORLANEX_PROTOCOL_PROGRAM);
constexpr int kProtocolWaitMs = 180'000;
// Text of the document's own that every PDF must hold.
const QString kOwnText = QStringLiteral("VLASTNI-OBSAH-PROTOKOLU");
// A file beside the document that the document must not bring in.
const QString kNeighbourText = QStringLiteral("SOUSEDNI-SOUBOR");

struct Hostile {
    const char* name;
    // The document's body after its own text; %PORT% is the listener's port.
    const char* body;
    // What must not be in the PDF besides the text of /etc/passwd and the neighbour's.
    const char* absent;
};

class HostileHtml : public ::testing::TestWithParam<Hostile> {};

void write_file(const QString& path, const QString& text) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(text.toUtf8());
}

TEST_P(HostileHtml, PrintsOnlyTheDocumentsOwnContent) {
    QTemporaryDir folder;
    QTcpServer listener;
    ASSERT_TRUE(listener.listen(QHostAddress::LocalHost));
    write_file(folder.filePath(QStringLiteral("soused.html")),
               QStringLiteral("<!DOCTYPE html><html><body><p>%1</p></body></html>").arg(kNeighbourText));
    const QString body =
        QString::fromUtf8(GetParam().body).replace(QStringLiteral("%PORT%"), QString::number(listener.serverPort()));
    const QString html = folder.filePath(QStringLiteral("protokol.html"));
    write_file(html, QStringLiteral("<!DOCTYPE html><html><head><meta charset=\"utf-8\"/></head><body><p>%1</p>%2"
                                    "</body></html>")
                         .arg(kOwnText, body));
    const QString pdf = folder.filePath(QStringLiteral("protokol.pdf"));

    QProcess program;
    program.start(kProtocolProgram, {QStringLiteral("--html"), html, QStringLiteral("--pdf"), pdf});
    ASSERT_TRUE(program.waitForStarted());
    int requests = 0;
    QElapsedTimer waited;
    waited.start();
    while (program.state() != QProcess::NotRunning && waited.elapsed() < kProtocolWaitMs) {
        if (listener.waitForNewConnection(50)) {
            while (QTcpSocket* connection = listener.nextPendingConnection()) {
                ++requests;
                connection->abort();
                delete connection;
            }
        }
        program.waitForFinished(50);
    }
    ASSERT_EQ(program.state(), QProcess::NotRunning) << "vorlanex-protocol did not end";
    ASSERT_EQ(program.exitCode(), 0) << program.readAllStandardError().toStdString();
    EXPECT_EQ(requests, 0) << "a request reached the network";

    QProcess text_tool;
    text_tool.start(QStringLiteral("pdftotext"), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(text_tool.waitForFinished(60'000));
    const QString text = QString::fromUtf8(text_tool.readAllStandardOutput());
    EXPECT_TRUE(text.contains(kOwnText)) << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("root:"))) << text.toStdString();
    EXPECT_FALSE(text.contains(kNeighbourText)) << text.toStdString();
    EXPECT_FALSE(text.contains(QString::fromUtf8(GetParam().absent))) << text.toStdString();
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(ProtocolSealed, HostileHtml, ::testing::Values(
    Hostile{"ScriptWritingIntoTheBody",
            "<script>document.body.insertAdjacentText('beforeend', 'SKRIPT-' + 'BEZEL');</script>", "SKRIPT-BEZEL"},
    Hostile{"FrameOfPasswd", "<iframe src=\"file:///etc/passwd\" width=\"600\" height=\"400\"></iframe>", "root:x"},
    Hostile{"FrameOfTheNeighbour", "<iframe src=\"soused.html\" width=\"600\" height=\"400\"></iframe>", "root:x"},
    Hostile{"ScriptReadingPasswd",
            "<pre id=\"out\">PRED-CTENIM</pre><script>"
            "const request = new XMLHttpRequest(); request.open('GET', 'file:///etc/passwd', false);"
            "try { request.send(); document.getElementById('out').textContent = request.responseText; }"
            "catch (e) { document.getElementById('out').textContent = 'XHR-' + 'ODMITNUTO'; }"
            "fetch('file:///etc/passwd').then(r => r.text()).then(t => document.body.append(t));"
            "</script>", "ODMITNUTO"},
    Hostile{"RefreshToTheNeighbour", "<meta http-equiv=\"refresh\" content=\"0; url=soused.html\"/>", "root:x"},
    Hostile{"ScriptMovingToTheNeighbour", "<script>location.href = 'soused.html';</script>", "root:x"},
    Hostile{"RemoteImageStyleAndFrame",
            "<img src=\"http://127.0.0.1:%PORT%/obrazek.png\"/>"
            "<link rel=\"stylesheet\" href=\"http://127.0.0.1:%PORT%/styl.css\"/>"
            "<div style=\"background-image: url(http://127.0.0.1:%PORT%/pozadi.png)\">x</div>"
            "<iframe src=\"http://127.0.0.1:%PORT%/ramec.html\"></iframe>", "root:x"},
    Hostile{"LocalImageOutsideTheFolder", "<img src=\"file:///usr/share/pixmaps/debian-logo.png\"/>"
                                          "<object data=\"file:///etc/passwd\"></object>", "root:x"}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

}  // namespace
}  // namespace vorlanex::spis::protocol
