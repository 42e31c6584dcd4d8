// What the browser brings back to the loopback listener at the end of a sign-in: the request
// line of its HTTP request, with the authorization code or the error, and the state (RFC 6749
// section 4.1.2), and the small plain page the listener answers with.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace quillet {

// Longest request line the listener reads; a browser's redirect with a long code stays far
// below it.
inline constexpr std::size_t MaxRedirectRequestLine = 16 * 1024;

struct TRedirectRequest {
    bool Complete = false; // the request line has arrived (or is too long to wait for)
    bool Valid = false;    // "GET <path>[?query] HTTP/1.x", no parameter of the answer repeated
    std::string Path;
    std::string Code;
    std::string State;
    bool HasState = false;
    std::string Error;
    std::string ErrorDescription;
    // The redirect that ends a sign-in: to "/", with a code or an error.
    bool IsAnswer() const { return Valid && Path == "/" && (!Code.empty() || !Error.empty()); }
};

// Reads the request line at the start of Received (the bytes of one connection so far).
// Parameters are form-decoded once.
TRedirectRequest ParseRedirectRequest(std::string_view Received);

// A complete HTTP/1.1 response with Text as a plain UTF-8 page; Status is 200, 400 or 404. The
// connection closes after it.
std::string HttpPage(int Status, std::string_view Text);

} // namespace quillet
