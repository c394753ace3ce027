#pragma once

#include "core/datafile/Messages.h"
#include "core/templates/TemplateStore.h"

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace notarium {

// What the template list's buttons can do for its selected row.
struct TemplateListCommands {
    bool edit = false;
    bool remove = false;
    bool moveUp = false;
    bool moveDown = false;
    bool insert = false;

    friend bool operator==(const TemplateListCommands&, const TemplateListCommands&) = default;
};

// Why an entry cannot join the list as it stands. Each would lose the registration quietly when
// the store is written and read again, so the editor refuses it and says why.
enum class TemplateEntryProblem {
    None,
    // The store file cannot hold the name as a key: empty, holding "=" or a line break, starting
    // with "[", ";" or "#", or with blanks around it that a read would drop.
    NameNotStorable,
    // Another entry has the same key (keys are compared as the store file compares them, ignoring
    // ASCII case): the file keeps one key per name, so one of the two would be gone.
    NameTaken,
    // The path would not read back as it is (a line break, blanks at either end).
    PathNotStorable,
};

// The registered templates as the template list edits them, in list order, with the flag that
// tells the list differs from what it was opened with (the caller then rewrites the store and the
// template menus).
class TemplateList {
public:
    explicit TemplateList(std::vector<TemplateEntry> entries = {});

    const std::vector<TemplateEntry>& entries() const { return m_entries; }
    std::size_t size() const { return m_entries.size(); }
    const TemplateEntry& at(std::size_t index) const { return m_entries.at(index); }
    bool changed() const { return m_changed; }

    // The buttons' states for the selected row (none: nothing but adding acts). A text-only
    // template goes into the memo pane, which the document node and the paper folder do not have,
    // so it cannot be inserted while the main window has one of them selected (or nothing).
    TemplateListCommands commands(std::optional<std::size_t> selected, bool mainSelectionIsTopLevel) const;

    // Appends the entry; returns its row.
    std::size_t add(TemplateEntry entry);
    // New name and path for a row. The kind stays: the file keeps the format it was written in.
    void update(std::size_t index, std::string name, std::string path);
    void remove(std::size_t index);
    // Each returns the row's new place; nullopt, with nothing changed, at the first (last) row or
    // outside the list.
    std::optional<std::size_t> moveUp(std::size_t index);
    std::optional<std::size_t> moveDown(std::size_t index);

    // True when a row other than index names the same file; deleting index's file would take the
    // other template's with it.
    bool fileUsedByOther(std::size_t index) const;

    // Whether candidate can be registered beside the other rows. replacing is the row an edit
    // replaces, whose own name does not count as taken.
    TemplateEntryProblem check(
        const TemplateEntry& candidate, std::optional<std::size_t> replacing = {}) const;

private:
    std::vector<TemplateEntry> m_entries;
    bool m_changed = false;
};

// Deletes a template's file. A file that is not there is no failure (there is nothing left to
// delete); anything else that stops the deletion gives false and the platform's error text.
bool deleteTemplateFile(const std::string& path, std::string* error = nullptr);

namespace messages {

// The texts below name the template or its file, so they are built per use; caption and icon here.
inline constexpr Message TemplateEntryRefused { "", "お知らせ", MessageIcon::Information };
std::string templateEntryProblemText(TemplateEntryProblem problem, const TemplateEntry& entry);

inline constexpr Message TemplateFileNotDeleted { "", "ファイル I/O エラー", MessageIcon::Warning };
// The registration is gone, the file stayed; path is UTF-8.
std::string templateFileNotDeletedText(std::string_view path, std::string_view error);

} // namespace messages

} // namespace notarium
