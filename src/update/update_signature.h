// The operator's signature over an update: pure Ed25519 (RFC 8032, not the
// pre-hashed variant) of the launcher file's bytes, checked against the
// public key the skin carries. Keys and signatures travel as hexadecimal text
// so that an operator can paste them and make them with common tools.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>

using UpdatePublicKey = std::array<std::uint8_t, 32>;
using UpdateSignature = std::array<std::uint8_t, 64>;

// [global] updateKey: exactly 64 hexadecimal digits, either case, nothing
// around them (the configuration reader has already trimmed the value).
// Nothing for anything else.
std::optional<UpdatePublicKey> ParseUpdateKey(std::string_view text);

// A signature file's body: 128 hexadecimal digits, either case, with white
// space (space, tab, carriage return, line feed, vertical tab, form feed)
// allowed before and after them. Nothing for anything else.
std::optional<UpdateSignature> ParseUpdateSignature(std::string_view body);

// Whether `signature` is the key's Ed25519 signature of exactly `file`.
bool VerifyUpdateSignature(std::span<const std::uint8_t> file, const UpdateSignature& signature,
                           const UpdatePublicKey& key);

// Lower-case hexadecimal digits, two per byte: the form the parsers read.
std::string HexDigits(std::span<const std::uint8_t> bytes);
