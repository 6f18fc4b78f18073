#pragma once
// The page vorlanex-protocol prints: it shows the one report file it is given and nothing else. The
// HTML it prints may come from anywhere (a case file names its own texts), so the page runs none of
// its scripts, loads nothing from the network and no file but the report itself, and follows no
// navigation the document starts (a refresh, a link, a frame); only the loads this program asks for.
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineUrlRequestInterceptor>

class QWebEngineProfile;

namespace vorlanex::spis::protocol {

// Lets through the report's own file and the data: URLs of the pages this program makes itself;
// blocks every other request of the profile.
class OneDocumentRequests final : public QWebEngineUrlRequestInterceptor {
    Q_OBJECT
public:
    using QWebEngineUrlRequestInterceptor::QWebEngineUrlRequestInterceptor;
    void set_document(const QUrl& document) { document_ = document; }
    void interceptRequest(QWebEngineUrlRequestInfo& info) override;

private:
    QUrl document_;
};

class SealedPage final : public QWebEnginePage {
    Q_OBJECT
public:
    // The page's settings and the profile's request filter are set here; `profile` outlives the page.
    explicit SealedPage(QWebEngineProfile* profile, QObject* parent = nullptr);

    // Loads the report's file, the only file the page may read.
    void load_document(const QString& path);

protected:
    bool acceptNavigationRequest(const QUrl& url, NavigationType type, bool is_main_frame) override;

private:
    OneDocumentRequests* requests_;
};

}  // namespace vorlanex::spis::protocol
