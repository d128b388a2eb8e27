// A minimal HTTP/1.0 client: one GET over plain TCP that hands back the
// first three characters of the reply body. There is no HTTPS, redirect or
// proxy, and the status line is not looked at. Every failure gives the
// empty text; nothing is thrown and nothing is shown.
#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tarvik {

inline constexpr std::string_view kDefaultUserAgent =
    "Mozilla/4.0 (compatible; MSIE 6.0; Windows NT 5.1; en)";
inline constexpr int kDefaultHttpPort = 80;
// The client never holds more of a reply than this.
inline constexpr std::size_t kReplyBufferSize = 2048;
// The part of the body handed back.
inline constexpr std::size_t kReplyTextLength = 3;

struct HttpTimeouts {
    // Longest wait for the first reply byte once the request is sent.
    std::chrono::milliseconds firstReply{10000};
    // Bound on the whole call: host look-up, connect, request and reading.
    // A server that trickles its reply or never closes is cut off here.
    std::chrono::milliseconds whole{12000};
};

struct HttpTarget {
    std::string host;
    int port = kDefaultHttpPort;
    std::string path;  // begins with "/"; the query is not part of it
};

// Splits scheme "://" [user "@"] host [":" port] ["/" path] ["?" query].
// The scheme is not checked and user information is dropped. Empty when the
// URL has no "://" or names a port outside 1..65535.
std::optional<HttpTarget> SplitHttpUrl(std::string_view url);

// A decimal number as URL ports and the update reply are read: spaces and
// tabs, one sign, then digits up to the first other character; no digits
// gives 0.
std::int32_t ReadDecimal(std::string_view text);

// Sends "GET path HTTP/1.0" with the headers Host (without the port),
// Accept, User-Agent (kDefaultUserAgent when userAgent is empty) and
// Connection: close, and reads at most kReplyBufferSize bytes of the reply.
// Returns the body (between the first and the second blank line), cut at a
// zero byte, stripped of spaces at both ends, and shortened to
// kReplyTextLength characters. Blocks the calling thread for at most
// timeouts.whole.
std::string HttpGetText(std::string_view url, std::string_view userAgent = {},
                        const HttpTimeouts& timeouts = {});

}  // namespace tarvik
