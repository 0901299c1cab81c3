// Procedures of the output devices that other parts call. All parameters by reference.
#pragma once

#include <cstdint>
#include <string>

// The printed width in dots of text on the current output device, starting in font font.
std::int32_t FNDLEN(const std::string& text, const std::int32_t& font);
