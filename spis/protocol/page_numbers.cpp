#include "spis/protocol/page_numbers.h"

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <algorithm>
#include <exception>
#include <memory>
#include <optional>

namespace vorlanex::spis::protocol {

namespace {

void read_pdf(QPDF& pdf, const char* description, const std::string& bytes) {
    pdf.setSuppressWarnings(true);
    pdf.processMemoryFile(description, bytes.data(), bytes.size());
}

// The page's own resources, so that a name added for one page is not added to every page that
// shared the dictionary.
QPDFObjectHandle own_xobjects(QPDFPageObjectHelper& page) {
    QPDFObjectHandle resources = page.getAttribute("/Resources", true);
    resources = resources.isDictionary() ? resources.shallowCopy() : QPDFObjectHandle::newDictionary();
    page.getObjectHandle().replaceKey("/Resources", resources);
    QPDFObjectHandle xobjects = resources.getKey("/XObject");
    xobjects = xobjects.isDictionary() ? xobjects.shallowCopy() : QPDFObjectHandle::newDictionary();
    resources.replaceKey("/XObject", xobjects);
    return xobjects;
}

std::string written(QPDF& document) {
    QPDFWriter writer(document);
    writer.setOutputMemory();
    writer.setDeterministicID(true);
    writer.write();
    const std::shared_ptr<Buffer> buffer = writer.getBufferSharedPointer();
    return std::string(reinterpret_cast<const char*>(buffer->getBuffer()), buffer->getSize());
}

}  // namespace

int page_count(const std::string& pdf, std::string& problem) {
    try {
        QPDF document;
        read_pdf(document, "protokol", pdf);
        return static_cast<int>(QPDFPageDocumentHelper(document).getAllPages().size());
    } catch (const std::exception& error) {
        problem = std::string("Tiskový výstup není čitelné PDF: ") + error.what();
        return 0;
    }
}

namespace {

// The pages of `parts` added to the empty `document`, in order, with each part's named destinations,
// which its links go to, and the first part's title, language and viewer preferences. `read` keeps each part
// open until the document is written: qpdf copies their objects lazily.
void join_into(QPDF& document, std::vector<std::unique_ptr<QPDF>>& read, const std::vector<std::string>& parts) {
    document.emptyPDF();
    QPDFPageDocumentHelper pages_of(document);
    QPDFObjectHandle destinations = QPDFObjectHandle::newDictionary();
    for (const std::string& part : parts) {
        QPDF& own = *read.emplace_back(std::make_unique<QPDF>());
        read_pdf(own, "část protokolu", part);
        for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(own).getAllPages()) pages_of.addPage(page, false);
        // The pages are copied already, so a destination's page is the copy of its page.
        QPDFObjectHandle own_destinations = own.getRoot().getKey("/Dests");
        if (!own_destinations.isDictionary()) continue;
        for (const std::string& name : own_destinations.getKeys()) {
            // qpdf copies only indirect objects; a destination is often written in place.
            QPDFObjectHandle destination = own_destinations.getKey(name);
            if (!destination.isIndirect()) destination = own.makeIndirectObject(destination);
            destinations.replaceKey(name, document.copyForeignObject(destination));
        }
    }
    if (!destinations.getKeys().empty()) {
        document.getRoot().replaceKey("/Dests", document.makeIndirectObject(destinations));
    }
    // The document's title and producer, from the first part.
    QPDFObjectHandle information = read.front()->getTrailer().getKey("/Info");
    if (information.isIndirect()) document.getTrailer().replaceKey("/Info", document.copyForeignObject(information));
    for (const char* key : {"/Lang", "/ViewerPreferences"}) {
        QPDFObjectHandle value = read.front()->getRoot().getKey(key);
        if (!value.isNull() && !value.isIndirect()) document.getRoot().replaceKey(key, value.shallowCopy());
    }
}

// Page i of `numbers` laid over page i of `document` (none when `numbers` is empty), then only the
// pages in `kept` kept; the Czech reason when the numbers do not fit. `footer_document` reads
// `numbers` and stays open until the document is written.
std::optional<std::string> number_and_keep(QPDF& document, QPDF& footer_document, const std::string& numbers,
                                           const std::vector<int>& kept) {
    QPDFPageDocumentHelper pages_of(document);
    std::vector<QPDFPageObjectHelper> pages = pages_of.getAllPages();
    std::vector<QPDFPageObjectHelper> footer_pages;
    if (!numbers.empty()) {
        read_pdf(footer_document, "čísla stran", numbers);
        footer_pages = QPDFPageDocumentHelper(footer_document).getAllPages();
        if (pages.size() != footer_pages.size()) {
            return "Čísla stran vyšla na " + std::to_string(footer_pages.size()) + " stran, protokol jich má " +
                   std::to_string(pages.size()) + ".";
        }
    }
    for (std::size_t i = 0; i < footer_pages.size(); ++i) {
        QPDFObjectHandle form = document.copyForeignObject(footer_pages[i].getFormXObjectForPage());
        QPDFObjectHandle xobjects = own_xobjects(pages[i]);
        int suffix = 0;
        const std::string name = xobjects.getUniqueResourceName("/VorlanexPageNumber", suffix);
        xobjects.replaceKey(name, form);
        const std::string placing =
            pages[i].placeFormXObject(form, name, pages[i].getMediaBox().getArrayAsRectangle(), true, false, false);
        // The page's own drawing in a saved graphics state of its own, the number after it.
        pages[i].addPageContents(QPDFObjectHandle::newStream(&document, "q\n"), true);
        pages[i].addPageContents(QPDFObjectHandle::newStream(&document, "\nQ\nq\n" + placing + "\nQ\n"), false);
    }
    if (!kept.empty()) {
        for (std::size_t i = 0; i < pages.size(); ++i) {
            if (!std::binary_search(kept.begin(), kept.end(), static_cast<int>(i) + 1)) pages_of.removePage(pages[i]);
        }
    }
    return std::nullopt;
}

}  // namespace

PdfOutcome assembled(const std::vector<std::string>& parts, const std::string& numbers, const std::vector<int>& kept) {
    try {
        QPDF document;
        QPDF footer_document;
        std::vector<std::unique_ptr<QPDF>> read;
        // A single part is the document as the browser made it, its tagged structure and all.
        if (parts.size() == 1) {
            read_pdf(document, "protokol", parts.front());
        } else {
            join_into(document, read, parts);
        }
        if (auto problem = number_and_keep(document, footer_document, numbers, kept)) return {{}, *problem};
        return {written(document), {}};
    } catch (const std::exception& error) {
        return {{}, std::string("PDF protokolu nelze sestavit: ") + error.what()};
    }
}

}  // namespace vorlanex::spis::protocol
