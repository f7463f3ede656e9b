// Windows only: conversion between the program's UTF-8 texts and the UTF-16 of the wide
// Windows calls, for file names and the command line. Part of the Qt-free toolkit, for
// tramis-cli and the plain libraries.
#pragma once

#include <string>
#include <string_view>

namespace toolkit {

// UTF-16 of a UTF-8 text; invalid bytes become U+FFFD.
std::wstring WideFromUtf8(std::string_view utf8);
// UTF-8 of a UTF-16 text; unpaired surrogates become U+FFFD.
std::string Utf8FromWide(std::wstring_view wide);

}  // namespace toolkit
