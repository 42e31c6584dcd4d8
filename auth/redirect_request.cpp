#include "auth/redirect_request.h"

#include "auth/url_form.h"

namespace quillet {

namespace {

// Takes Value into Field unless the parameter came before: a repeated one spoils the request.
bool TakeOnce(std::string& Field, bool& Seen, std::string Value) {
    if (Seen)
        return false;
    Seen = true;
    Field = std::move(Value);
    return true;
}

} // namespace

TRedirectRequest ParseRedirectRequest(std::string_view Received) {
    TRedirectRequest request;
    const std::size_t end = Received.find('\n');
    if (end == std::string_view::npos) {
        // Too long to be a browser's redirect: complete, and not valid.
        request.Complete = Received.size() > MaxRedirectRequestLine;
        return request;
    }
    request.Complete = true;
    std::string_view line = Received.substr(0, end);
    if (line.size() > MaxRedirectRequestLine)
        return request;
    if (!line.empty() && line.back() == '\r')
        line.remove_suffix(1);
    const std::size_t first = line.find(' ');
    const std::size_t last = line.rfind(' ');
    if (first == std::string_view::npos || last == first || line.substr(0, first) != "GET" ||
        !line.substr(last + 1).starts_with("HTTP/1."))
        return request;
    std::string_view target = line.substr(first + 1, last - first - 1);
    if (target.empty() || target.front() != '/' || target.find(' ') != std::string_view::npos)
        return request;
    target = target.substr(0, target.find('#'));
    const std::size_t mark = target.find('?');
    request.Path = std::string(target.substr(0, mark));
    bool seenCode = false, seenError = false, seenDescription = false;
    std::string_view query = mark == std::string_view::npos ? std::string_view() : target.substr(mark + 1);
    while (!query.empty()) {
        const std::size_t amp = query.find('&');
        const std::string_view pair = query.substr(0, amp);
        query = amp == std::string_view::npos ? std::string_view() : query.substr(amp + 1);
        const std::size_t eq = pair.find('=');
        const std::string name = FormDecode(pair.substr(0, eq));
        std::string value = eq == std::string_view::npos ? std::string() : FormDecode(pair.substr(eq + 1));
        bool fine = true;
        if (name == "code")
            fine = TakeOnce(request.Code, seenCode, std::move(value));
        else if (name == "state")
            fine = TakeOnce(request.State, request.HasState, std::move(value));
        else if (name == "error")
            fine = TakeOnce(request.Error, seenError, std::move(value));
        else if (name == "error_description")
            fine = TakeOnce(request.ErrorDescription, seenDescription, std::move(value));
        if (!fine)
            return request; // a parameter of the answer twice: not a redirect to trust
    }
    request.Valid = true;
    return request;
}

std::string HttpPage(int Status, std::string_view Text) {
    const char* reason = Status == 200 ? "OK" : Status == 404 ? "Not Found" : "Bad Request";
    std::string page =
        "HTTP/1.1 " + std::to_string(Status) + " " + reason +
        "\r\nContent-Type: text/plain; charset=utf-8\r\nContent-Length: " + std::to_string(Text.size()) +
        "\r\nCache-Control: no-store\r\nConnection: close\r\n\r\n";
    page += Text;
    return page;
}

} // namespace quillet
