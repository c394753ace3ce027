#pragma once

#include "core/templates/TreeTemplate.h"

#include <string>
#include <string_view>

namespace notarium {

class Document;
class Node;

// Adds the pages of a tree template under base only when the whole file reads: a file that is not
// a template, of another version, or corrupt anywhere leaves doc as it was (the result carries the
// message and no pages). Otherwise as parseTreeTemplate: the level-1 pages become base's last
// children, pages with children and base with its ancestors are expanded.
TemplateReadResult applyTreeTemplate(std::string_view bytes, Document& doc, Node* base);
// Reads the file at path first; a file that cannot be read changes nothing (CannotOpen), nor
// does one too long for the format, which is refused unread (TooLarge).
TemplateReadResult applyTreeTemplateFile(const std::string& path, Document& doc, Node* base);

} // namespace notarium
