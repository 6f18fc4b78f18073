#include "spis/protocol/page_numbers.h"

#include <qpdf/Buffer.hh>
#include <qpdf/QPDF.hh>
#include <qpdf/QPDFPageDocumentHelper.hh>
#include <qpdf/QPDFPageObjectHelper.hh>
#include <qpdf/QPDFWriter.hh>

#include <algorithm>
#include <array>
#include <charconv>
#include <exception>

namespace vorlanex::spis::protocol {

namespace {

// "15.00mm": to_chars writes the decimal point whatever the process's locale, which a CSS length
// needs (printf under cs_CZ writes "15,00mm", which CSS drops).
std::string millimetres(double value) {
    std::array<char, 32> text{};
    const auto written = std::to_chars(text.data(), text.data() + text.size(), value, std::chars_format::fixed, 2);
    return std::string(text.data(), written.ec == std::errc() ? written.ptr : text.data()) + "mm";
}

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

}  // namespace

std::string footers_html(int count, const PageMargins& margins) {
    // Each footer page is one block a little less tall than the page (Chromium rounds the page to
    // whole points, 841 pt for A4's 841.89, and a block of 297 mm would spill onto a page of its
    // own), broken after; the number sits in a line box as tall as the bottom margin, so it is
    // centred in it as a margin box centres it.
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"cs\">\n<head>\n<meta charset=\"utf-8\"/>\n<title>Čísla stran</title>\n<style>\n"
        "@page { size: A4; margin: 0; }\n"
        "html { font-family: \"Liberation Sans\", Arial, Helvetica, sans-serif; font-size: 8pt; color: #555; }\n"
        "body { margin: 0; }\n"
        ".page { position: relative; height: 296mm; overflow: hidden; break-after: page; }\n"
        ".page:last-child { break-after: auto; }\n"
        ".number { position: absolute; right: " +
        millimetres(margins.right) + "; bottom: 0; height: " + millimetres(margins.bottom) +
        "; line-height: " + millimetres(margins.bottom) +
        "; white-space: nowrap; }\n"
        "</style>\n</head>\n<body>\n";
    for (int page = 1; page <= count; ++page) {
        html += "<div class=\"page\"><span class=\"number\">Strana " + std::to_string(page) + " z " +
                std::to_string(count) + "</span></div>\n";
    }
    return html + "</body>\n</html>\n";
}

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

PdfOutcome numbered(const std::string& report, const std::string& footers, const std::vector<int>& kept) {
    try {
        QPDF document;
        read_pdf(document, "protokol", report);
        QPDF footer_document;
        read_pdf(footer_document, "čísla stran", footers);
        QPDFPageDocumentHelper pages_of(document);
        std::vector<QPDFPageObjectHelper> pages = pages_of.getAllPages();
        std::vector<QPDFPageObjectHelper> footer_pages = QPDFPageDocumentHelper(footer_document).getAllPages();
        if (pages.size() != footer_pages.size()) {
            return {{},
                    "Čísla stran vyšla na " + std::to_string(footer_pages.size()) + " stran, protokol jich má " +
                        std::to_string(pages.size()) + "."};
        }
        for (std::size_t i = 0; i < pages.size(); ++i) {
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
        QPDFWriter writer(document);
        writer.setOutputMemory();
        writer.setDeterministicID(true);
        writer.write();
        const std::shared_ptr<Buffer> buffer = writer.getBufferSharedPointer();
        return {std::string(reinterpret_cast<const char*>(buffer->getBuffer()), buffer->getSize()), {}};
    } catch (const std::exception& error) {
        return {{}, std::string("Čísla stran nelze do protokolu vložit: ") + error.what()};
    }
}

}  // namespace vorlanex::spis::protocol
