#include "spis/protocol/page_numbers.h"

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <algorithm>
#include <exception>
#include <memory>

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

PdfOutcome joined(const std::vector<std::string>& parts) {
    try {
        QPDF document;
        document.emptyPDF();
        QPDFPageDocumentHelper pages_of(document);
        QPDFObjectHandle destinations = QPDFObjectHandle::newDictionary();
        // Each part read stays open until the joined PDF is written: qpdf copies its objects lazily.
        std::vector<std::unique_ptr<QPDF>> read(parts.size());
        for (std::size_t i = 0; i < parts.size(); ++i) {
            read[i] = std::make_unique<QPDF>();
            read_pdf(*read[i], "část protokolu", parts[i]);
            for (QPDFPageObjectHelper& page : QPDFPageDocumentHelper(*read[i]).getAllPages()) {
                pages_of.addPage(page, false);
            }
            // The pages are copied already, so a destination's page is the copy of its page.
            QPDFObjectHandle own = read[i]->getRoot().getKey("/Dests");
            if (!own.isDictionary()) continue;
            for (const std::string& name : own.getKeys()) {
                // qpdf copies only indirect objects; a destination is often written in place.
                QPDFObjectHandle destination = own.getKey(name);
                if (!destination.isIndirect()) destination = read[i]->makeIndirectObject(destination);
                destinations.replaceKey(name, document.copyForeignObject(destination));
            }
        }
        if (destinations.getKeys().size() > 0) {
            document.getRoot().replaceKey("/Dests", document.makeIndirectObject(destinations));
        }
        return {written(document), {}};
    } catch (const std::exception& error) {
        return {{}, std::string("Části protokolu nelze spojit: ") + error.what()};
    }
}

PdfOutcome numbered(const std::string& report, const std::string& numbers, const std::vector<int>& kept) {
    try {
        QPDF document;
        read_pdf(document, "protokol", report);
        QPDF footer_document;
        if (!numbers.empty()) read_pdf(footer_document, "čísla stran", numbers);
        QPDFPageDocumentHelper pages_of(document);
        std::vector<QPDFPageObjectHelper> pages = pages_of.getAllPages();
        std::vector<QPDFPageObjectHelper> footer_pages;
        if (!numbers.empty()) footer_pages = QPDFPageDocumentHelper(footer_document).getAllPages();
        if (!numbers.empty() && pages.size() != footer_pages.size()) {
            return {{},
                    "Čísla stran vyšla na " + std::to_string(footer_pages.size()) + " stran, protokol jich má " +
                        std::to_string(pages.size()) + "."};
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
                if (!std::binary_search(kept.begin(), kept.end(), static_cast<int>(i) + 1)) {
                    pages_of.removePage(pages[i]);
                }
            }
        }
        return {written(document), {}};
    } catch (const std::exception& error) {
        return {{}, std::string("Čísla stran nelze do protokolu vložit: ") + error.what()};
    }
}

}  // namespace vorlanex::spis::protocol
