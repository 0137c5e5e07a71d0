#pragma once
// The structure of a message as the preview reads it: header fields, their parameters and the parts of
// a multipart body. Views into the message's bytes; nothing is decoded here.
#include <optional>
#include <string>
#include <string_view>
#include <vector>

struct MimeEntity {
  std::string_view header;  // the header lines, each with its line end
  std::string_view body;
  bool headerEnded = false;  // false: no empty line closes the header, and all of it is header
};

// A-Z lowered, every other byte kept: field names, media types and charset names are ASCII.
std::string AsciiLowered(std::string_view text);

// Parts the entity at its first empty line (CR LF or LF).
MimeEntity SplitEntity(std::string_view bytes);

// The value of the first field of that name (any case), its folded lines joined and trimmed.
std::optional<std::string> FieldValue(std::string_view header, std::string_view name);

// The media type of a Content-Type value in lowercase, without its parameters.
std::string MediaType(std::string_view contentType);
// A parameter of a field value (name=value or name="value"), name in any case.
std::optional<std::string> Parameter(std::string_view value, std::string_view name);

struct MultipartBody {
  std::vector<std::string_view> parts;
  bool closed = false;  // the closing delimiter was found
};

// The parts between the boundary's delimiter lines; an unclosed body's last part runs to its end.
MultipartBody SplitMultipart(std::string_view body, std::string_view boundary);
