#include "core/templates/TemplateList.h"

#include "core/settings/IniFile.h"

#include <cerrno>
#include <cstring>
#include <unistd.h>
#include <utility>

namespace notarium {

TemplateList::TemplateList(std::vector<TemplateEntry> entries)
    : m_entries(std::move(entries))
{
}

TemplateListCommands TemplateList::commands(
    std::optional<std::size_t> selected, bool mainSelectionIsTopLevel) const
{
    TemplateListCommands commands;
    if (!selected || *selected >= m_entries.size())
        return commands;
    const std::size_t row = *selected;
    commands.edit = true;
    commands.remove = true;
    commands.moveUp = row > 0;
    commands.moveDown = row + 1 < m_entries.size();
    commands.insert = !mainSelectionIsTopLevel || m_entries[row].isTree();
    return commands;
}

std::size_t TemplateList::add(TemplateEntry entry)
{
    m_entries.push_back(std::move(entry));
    m_changed = true;
    return m_entries.size() - 1;
}

void TemplateList::update(std::size_t index, std::string name, std::string path)
{
    TemplateEntry& entry = m_entries.at(index);
    entry.name = std::move(name);
    entry.path = std::move(path);
    m_changed = true;
}

void TemplateList::remove(std::size_t index)
{
    m_entries.erase(m_entries.begin() + static_cast<std::ptrdiff_t>(index));
    m_changed = true;
}

std::optional<std::size_t> TemplateList::moveUp(std::size_t index)
{
    if (index == 0 || index >= m_entries.size())
        return std::nullopt;
    std::swap(m_entries[index - 1], m_entries[index]);
    m_changed = true;
    return index - 1;
}

std::optional<std::size_t> TemplateList::moveDown(std::size_t index)
{
    if (index + 1 >= m_entries.size())
        return std::nullopt;
    std::swap(m_entries[index], m_entries[index + 1]);
    m_changed = true;
    return index + 1;
}

bool TemplateList::fileUsedByOther(std::size_t index) const
{
    const std::string& path = m_entries.at(index).path;
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        if (i != index && m_entries[i].path == path)
            return true;
    return false;
}

TemplateEntryProblem TemplateList::check(
    const TemplateEntry& candidate, std::optional<std::size_t> replacing) const
{
    // The entry alone through the store and back: what a later start would read.
    TemplateStore written;
    if (!written.setEntries({ candidate }).empty())
        return TemplateEntryProblem::NameNotStorable;
    TemplateStore read;
    read.parse(written.serialize());
    if (read.entries().size() != 1 || read.entries().front().name != candidate.name)
        return TemplateEntryProblem::NameNotStorable;

    // The store file's own key rules decide what counts as the same name.
    IniFile others;
    for (std::size_t i = 0; i < m_entries.size(); ++i)
        if (!replacing || i != *replacing)
            others.writeString(kTemplateSection, m_entries[i].name, "0");
    if (others.valueExists(kTemplateSection, candidate.name))
        return TemplateEntryProblem::NameTaken;

    if (read.entries().front().path != candidate.path)
        return TemplateEntryProblem::PathNotStorable;
    return TemplateEntryProblem::None;
}

bool deleteTemplateFile(const std::string& path, std::string* error)
{
    // unlink, not a general remove: a path that names a folder is never emptied out of the way.
    if (::unlink(path.c_str()) == 0 || errno == ENOENT)
        return true;
    if (error)
        *error = std::strerror(errno);
    return false;
}

namespace messages {

std::string templateEntryProblemText(TemplateEntryProblem problem, const TemplateEntry& entry)
{
    switch (problem) {
    case TemplateEntryProblem::None:
        break;
    case TemplateEntryProblem::NameNotStorable:
        return "「" + entry.name
            + "」はテンプレート名に使えません。\r\n「=」を含む名前や、「[」「;」「#"
              "」で始まる名前は登録できません。";
    case TemplateEntryProblem::NameTaken:
        return "「" + entry.name
            + "」という名前のテンプレートはすでに登録されています。\r\n別の名前を入力してください。";
    case TemplateEntryProblem::PathNotStorable:
        return "このファイル名はテンプレートの一覧に保存できません。\r\n改行を含まず、前後に空白のないファイ"
               "ル名を指定して"
               "ください。";
    }
    return {};
}

std::string templateFileNotDeletedText(std::string_view path, std::string_view error)
{
    std::string text = "テンプレートの登録は削除しましたが、テンプレートファイル ";
    text += path;
    text += " は削除できませんでした。";
    if (!error.empty()) {
        text += "\r\n\r\n(";
        text += error;
        text += ")";
    }
    return text;
}

} // namespace messages

} // namespace notarium
