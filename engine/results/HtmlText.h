#pragma once
// The text of an HTML body for the preview: tags removed, common entities decoded.
#include <string>
#include <string_view>

// <br>, </p>, </div>, </tr> and </li> end a line, the line breaks of the source count as spaces; the
// contents of <head>, <script> and <style> and comments are left out.
std::u16string HtmlToText(std::u16string_view html);
