#include "spis/protocol/sealed_page.h"

#include <QFileInfo>
#include <QWebEngineProfile>
#include <QWebEngineSettings>
#include <QWebEngineUrlRequestInfo>

namespace vorlanex::spis::protocol {

void OneDocumentRequests::interceptRequest(QWebEngineUrlRequestInfo& info) {
    const QUrl url = info.requestUrl().adjusted(QUrl::RemoveFragment);
    const bool own = (!document_.isEmpty() && url == document_) || url.scheme() == QLatin1String("data");
    info.block(!own);
}

SealedPage::SealedPage(QWebEngineProfile* profile, QObject* parent)
    : QWebEnginePage(profile, parent), requests_(new OneDocumentRequests(this)) {
    profile->setUrlRequestInterceptor(requests_);
    QWebEngineSettings* page_settings = settings();
    // The margins are read by this program's own script, which runs apart from the document's.
    page_settings->setAttribute(QWebEngineSettings::JavascriptEnabled, false);
    page_settings->setAttribute(QWebEngineSettings::JavascriptCanOpenWindows, false);
    page_settings->setAttribute(QWebEngineSettings::JavascriptCanAccessClipboard, false);
    page_settings->setAttribute(QWebEngineSettings::LocalContentCanAccessFileUrls, false);
    page_settings->setAttribute(QWebEngineSettings::LocalContentCanAccessRemoteUrls, false);
    page_settings->setAttribute(QWebEngineSettings::LocalStorageEnabled, false);
    page_settings->setAttribute(QWebEngineSettings::HyperlinkAuditingEnabled, false);
    page_settings->setAttribute(QWebEngineSettings::DnsPrefetchEnabled, false);
    page_settings->setAttribute(QWebEngineSettings::PluginsEnabled, false);
    page_settings->setAttribute(QWebEngineSettings::PdfViewerEnabled, false);
    page_settings->setAttribute(QWebEngineSettings::WebGLEnabled, false);
    page_settings->setAttribute(QWebEngineSettings::AutoLoadIconsForPage, false);
    page_settings->setAttribute(QWebEngineSettings::ErrorPageEnabled, false);
    page_settings->setAttribute(QWebEngineSettings::PrintElementBackgrounds, true);
}

void SealedPage::load_document(const QString& path) {
    const QUrl document = QUrl::fromLocalFile(QFileInfo(path).absoluteFilePath());
    requests_->set_document(document);
    load(document);
}

// Only the loads this program starts (load() and setHtml(), which Chromium counts as typed) go
// ahead; whatever the document itself starts, in its own frame or in a frame within it, does not.
bool SealedPage::acceptNavigationRequest(const QUrl& /*url*/, NavigationType type, bool is_main_frame) {
    return is_main_frame && type == NavigationTypeTyped;
}

}  // namespace vorlanex::spis::protocol
