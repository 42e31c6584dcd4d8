// Feeds any bytes to the sign-in listener's reading of a browser request, as any program on this
// machine could send them, and to the form decoding it uses. None may crash; an answer is always a
// complete, valid request to "/", and form encoding always decodes back to what was encoded.
#include "auth/redirect_request.h"
#include "auth/url_form.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
    const std::string_view bytes(reinterpret_cast<const char*>(Data), Size);
    const quillet::TRedirectRequest request = quillet::ParseRedirectRequest(bytes);
    if (request.Valid && !request.Complete)
        std::abort();
    if (request.IsAnswer() && (request.Path != "/" || (request.Code.empty() && request.Error.empty())))
        std::abort();
    if (request.Code.size() > Size || request.State.size() > Size)
        std::abort();
    if (quillet::FormDecode(quillet::FormEncode(bytes)) != bytes)
        std::abort();
    quillet::FormDecode(bytes);
    return 0;
}
