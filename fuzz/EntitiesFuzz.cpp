// Property: for every byte string x, DecodeEntities(EncodeEntities(x)) == x,
// and the encoded form is plain ASCII without "<", so that free text stored
// this way can never break the record it sits in.

#include "xml/SimpleXML.h"

#include <cstdio>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::string encoded = EncodeEntities(input);
    for (char c : encoded)
        if (static_cast<unsigned char>(c) >= 0x80 || c == '<') {
            std::fprintf(stderr, "encoded text holds a byte it should have escaped\n");
            std::abort();
        }
    if (DecodeEntities(encoded) != input) {
        std::fprintf(stderr, "decoding the encoded text does not give the input back\n");
        std::abort();
    }
    // Decoding arbitrary text must merely not misbehave, and never grows it.
    if (DecodeEntities(input).size() > input.size())
        std::abort();
    return 0;
}
