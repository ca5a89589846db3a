#pragma once

#include <cstddef>
#include <optional>
#include <string>

#include "files/io/byte_reader.h"
#include "files/io/byte_writer.h"
#include "files/project/document.h"

namespace vemro {

// One section of the project file's extension: a 4-byte tag, a uint32 payload length and the
// payload, which holds some of a document's values. Everything the extension does with a section
// goes through its descriptor; the extension is the list of them (projectSections in
// project_extension.h).
struct ProjectSection {
    // Four ASCII letters.
    const char* tag;
    // The longest payload a file may hold for it. A fixed-length payload takes exactly that many
    // bytes (the reader refuses any other length); a variable one is checked by its own read.
    std::size_t maxPayloadBytes;
    bool fixedLength;
    // What it holds, as a message names it ("the character list"), for a section every extension
    // must hold; nullptr for one that may be left out.
    const char* requiredAs;
    // Whether the document's values are what a file without the section means; a section is
    // written only when they are not, or when it is required.
    bool (*isDefault)(const Document& document);
    // Appends the payload.
    void (*write)(ByteWriter& out, const Document& document);
    // Reads the payload into the document (the payload alone, its length checked when fixed), or
    // says what is wrong with it, naming the limit.
    std::optional<std::string> (*read)(ByteReader& payload, Document& document);
    // What keeps the document's values from being stored so that they read back, or nothing.
    std::optional<std::string> (*problem)(const Document& document);
};

}  // namespace vemro
