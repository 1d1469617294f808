#pragma once
// Texts are single-byte in the program and Unicode in the widgets; they cross as Windows-1252.
// A character without a byte in that code page becomes '?'. Bytes 0x81, 0x8D, 0x8F, 0x90 and
// 0x9D, which the code page leaves unassigned, stand for U+0081... so every byte round-trips.
#include <string>
#include <string_view>

#include <QString>

std::string ToWindows1252(const QString& text);
QString FromWindows1252(std::string_view bytes);
