#pragma once

#include "resources/ini_schema.h"

#include <cstddef>
#include <string>
#include <vector>

// Writes an IniSchema out as a commented INI file an author can start from,
// so that the template lists exactly the keys the engine reads and cannot
// drift from them.
//
// The text is: the caller's introduction and the rules of the format as
// comments, then every section in the order the schema first declares it,
// each with all of its keys (also those declared further down, by another
// loader) as `key=default` under a comment with the key's meaning and, in
// brackets, its unit. Keys of one section that share a meaning (a speed's
// Int and Fraction) share one comment. An indexed name ('#') is written
// for the indices 0 and 1, an indexed section for 0 only, and its comment
// writes the index as N and says how far it runs: up to the count minus 1,
// the count being the key of unit "count" in the same section (for an
// indexed key) or in a section whose name begins with the indexed one's
// (for an indexed section: "Animations" for "Animation#").
//
// Every key written is one the schema knows, and every value reads back as
// the key's default, so the template as written reads like an empty file.
// Comments are lines of their own, never after a value, and no longer than
// kLineWidth unless one word is.
class IniTemplate {
public:
    static constexpr size_t kLineWidth = 78;  // characters per comment line
    // The indices an indexed key is written for.
    static constexpr int kIndicesShown = 2;

    explicit IniTemplate(const IniSchema& schema);

    // The template. Each paragraph of `introduction` becomes comment lines
    // (a paragraph starting with "- " is a list item, indented after its
    // first line), an empty comment line between paragraphs.
    std::string text(const std::vector<std::string>& introduction) const;

private:
    // The count of the index in `key`, or in `section` when `key` has none,
    // as the template names it: "amount" (in the same section) or
    // "[Animations] amount"; empty when the schema declares none.
    std::string countOf(const std::string& section, const std::string& key) const;
    // The sections in the order of their first declaration.
    std::vector<std::string> sectionOrder() const;
    // One section: its header, and its keys grouped by meaning.
    void writeSection(const std::string& section, std::string& out) const;
    void writeGroup(const std::vector<const IniKey*>& group, std::string& out) const;

    const IniSchema& m_schema;
};
