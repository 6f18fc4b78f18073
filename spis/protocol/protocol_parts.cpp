#include "spis/protocol/protocol_parts.h"

#include <algorithm>
#include <array>
#include <cctype>
#include <span>
#include <string_view>

namespace vorlanex::spis::protocol {

namespace {

constexpr std::string_view kSectionStart = "<section class=\"calculation\"";

constexpr std::string_view kPolicy =
    "default-src 'none'; img-src data:; style-src 'unsafe-inline'; font-src data:; form-action 'none'; "
    "base-uri 'none'";

// The page margin boxes of CSS paged media, all of which a document's @page rule may fill.
constexpr std::array<std::string_view, 16> kMarginBoxes = {
    "top-left-corner",    "top-left",     "top-center",          "top-right",    "top-right-corner", "right-top",
    "right-middle",       "right-bottom", "bottom-right-corner", "bottom-right", "bottom-center",    "bottom-left",
    "bottom-left-corner", "left-bottom",  "left-middle",         "left-top"};

char lower(char character) { return static_cast<char>(std::tolower(static_cast<unsigned char>(character))); }

bool starts_with_folded(std::string_view text, std::size_t at, std::string_view prefix) {
    if (text.size() - std::min(at, text.size()) < prefix.size()) return false;
    for (std::size_t i = 0; i < prefix.size(); ++i) {
        if (lower(text[at + i]) != prefix[i]) return false;
    }
    return true;
}

bool html_space(char character) {
    return character == ' ' || character == '\t' || character == '\n' || character == '\f' || character == '\r';
}

std::size_t find_folded(std::string_view text, std::string_view needle, std::size_t from) {
    for (std::size_t at = from; at + needle.size() <= text.size(); ++at) {
        if (starts_with_folded(text, at, needle)) return at;
    }
    return std::string_view::npos;
}

// Where the document's body begins: just after its <body ...> tag; npos when it has none.
std::size_t body_start(std::string_view html) {
    const std::size_t tag = find_folded(html, "<body", 0);
    if (tag == std::string_view::npos) return tag;
    const std::size_t close = html.find('>', tag);
    return close == std::string_view::npos ? close : close + 1;
}

// The document without a leading byte order mark, white space and <!DOCTYPE ...>.
std::string_view without_doctype(std::string_view html) {
    if (html.substr(0, 3) == "\xEF\xBB\xBF") html.remove_prefix(3);
    std::size_t at = 0;
    while (at < html.size() && html_space(html[at])) ++at;
    if (!starts_with_folded(html, at, "<!doctype")) return html;
    const std::size_t close = html.find('>', at);
    return close == std::string_view::npos ? html : html.substr(close + 1);
}

// The end of the <meta ...> tag whose attributes begin at `at`, read as an HTML parser reads them;
// the start of every attribute named http-equiv goes into `equivs`.
std::size_t meta_tag_end(std::string_view html, std::size_t at, std::vector<std::size_t>& equivs) {
    while (at < html.size()) {
        while (at < html.size() && (html_space(html[at]) || html[at] == '/')) ++at;
        if (at >= html.size() || html[at] == '>') break;
        const std::size_t name = at++;  // a name's first character may be anything, '=' too
        while (at < html.size() && !html_space(html[at]) && html[at] != '/' && html[at] != '>' && html[at] != '=') {
            ++at;
        }
        constexpr std::string_view kEquiv = "http-equiv";
        if (at - name == kEquiv.size() && starts_with_folded(html, name, kEquiv)) equivs.push_back(name);
        std::size_t after = at;
        while (after < html.size() && html_space(html[after])) ++after;
        if (after >= html.size() || html[after] != '=') continue;
        at = after + 1;
        while (at < html.size() && html_space(html[at])) ++at;
        if (at < html.size() && (html[at] == '"' || html[at] == '\'')) {
            const std::size_t close = html.find(html[at], at + 1);
            at = close == std::string_view::npos ? html.size() : close + 1;
        } else {
            while (at < html.size() && !html_space(html[at]) && html[at] != '>') ++at;
        }
    }
    return at;
}

// `html` with every http-equiv attribute of a <meta> tag renamed, so that none takes effect.
std::string inert_meta_equivs(std::string_view html) {
    std::vector<std::size_t> equivs;
    for (std::size_t at = find_folded(html, "<meta", 0); at != std::string_view::npos;
         at = find_folded(html, "<meta", at + 1)) {
        const std::size_t after = at + 5;
        if (after < html.size() && !html_space(html[after]) && html[after] != '/' && html[after] != '>') continue;
        meta_tag_end(html, after, equivs);
    }
    std::string inert;
    inert.reserve(html.size() + equivs.size() * 8);
    std::size_t copied = 0;
    for (const std::size_t equiv : equivs) {
        if (equiv < copied) continue;  // a tag within another's attribute value, already read
        inert.append(html.substr(copied, equiv - copied));
        inert += "data-inert-";
        copied = equiv;
    }
    inert.append(html.substr(copied));
    return inert;
}

// The id of the calculation section that starts at `section`; empty when it has none.
std::string_view section_id(std::string_view html, std::size_t section) {
    const std::size_t tag_end = html.find('>', section);
    const std::size_t id = html.substr(0, tag_end).find(" id=\"", section);
    if (id == std::string_view::npos) return {};
    const std::size_t close = html.find('"', id + 5);
    return close == std::string_view::npos || close > tag_end ? std::string_view()
                                                              : html.substr(id + 5, close - id - 5);
}

// An invisible box of the part's own: a browser makes a named destination in the PDF only of an
// element some link of the same document goes to, and a link only to an element the document has.
// So the first part holds an empty element for each calculation the contents link to, and each
// further part an empty link to each of its calculations; the joined PDF takes every destination
// from the part that prints it (page_numbers.h), where the contents' links then go.
constexpr std::string_view kInvisible = "<div style=\"position: absolute; width: 0; height: 0; overflow: hidden\">";

std::string link_targets(std::span<const std::string_view> ids) {
    std::string html(kInvisible);
    for (const std::string_view id : ids) {
        if (!id.empty()) html.append("<span id=\"").append(id).append("\"></span>");
    }
    return html + "</div>\n";
}

std::string links_to(std::span<const std::string_view> ids) {
    std::string html(kInvisible);
    for (const std::string_view id : ids) {
        if (id.empty()) continue;
        html.append("<a href=\"#")
            .append(id)
            .append("\" style=\"display: inline-block; width: 1px; height: 1px\"></a>");
    }
    return html + "</div>\n";
}

}  // namespace

std::vector<std::string> protocol_parts(const std::string& html, std::size_t sections_per_part) {
    const std::string_view document(html);
    const std::size_t body = body_start(document);
    const std::size_t tail = find_folded(document, "</body", body == std::string_view::npos ? 0 : body);
    if (body == std::string_view::npos || tail == std::string_view::npos || sections_per_part == 0) return {html};
    std::vector<std::size_t> sections;
    for (std::size_t at = document.find(kSectionStart, body); at != std::string_view::npos && at < tail;
         at = document.find(kSectionStart, at + 1)) {
        sections.push_back(at);
    }
    if (sections.size() <= sections_per_part) return {html};
    const std::string_view head = document.substr(0, body);
    const std::string_view end = document.substr(tail);
    std::vector<std::string_view> ids;
    for (const std::size_t section : sections) ids.push_back(section_id(document, section));
    std::vector<std::string> parts;
    parts.push_back(
        std::string(head).append(document.substr(body, sections.front() - body)).append(link_targets(ids)).append(end));
    for (std::size_t first = 0; first < sections.size(); first += sections_per_part) {
        const std::size_t last = std::min(first + sections_per_part, sections.size());
        const std::size_t until = last < sections.size() ? sections[last] : tail;
        parts.push_back(std::string(head)
                            .append(links_to(std::span(ids).subspan(first, last - first)))
                            .append(document.substr(sections[first], until - sections[first]))
                            .append(end));
    }
    return parts;
}

std::string page_numbers_document(const std::string& html, int count) {
    const std::size_t body = body_start(html);
    std::string document = body == std::string::npos ? std::string("<!DOCTYPE html>\n<html>\n<head></head>\n<body>\n")
                                                     : html.substr(0, body);
    // Only the margin boxes print: nothing of the page's own, not even its background.
    document += "\n<style>html, body { background: none !important; }</style>\n";
    for (int page = 1; page < count; ++page) document += "<div style=\"height: 1px; break-after: page\"></div>\n";
    return document + "<div></div>\n</body>\n</html>\n";
}

std::string sealed_document(const std::string& html, bool page_margin_boxes) {
    std::string sealed = "<!DOCTYPE html>\n<meta http-equiv=\"Content-Security-Policy\" content=\"";
    sealed.append(kPolicy).append("\"/>\n<meta charset=\"utf-8\"/>\n");
    if (!page_margin_boxes) {
        sealed += "<style>@page {";
        for (const std::string_view box : kMarginBoxes)
            sealed.append(" @").append(box).append(" { content: none !important; }");
        sealed += " }</style>\n";
    }
    return sealed + inert_meta_equivs(without_doctype(html));
}

}  // namespace vorlanex::spis::protocol
