#include "report/design.h"

#include "report/form.h"

#include <algorithm>
#include <fstream>

namespace report {

namespace {

    using Json = nlohmann::ordered_json;

    constexpr const char *kFormat = "korvane-design";
    constexpr int kVersion = 1;

    Json parsed(const std::string &bytes)
    {
        if (bytes.size() > kMaxDesignBytes)
            throw DesignError("larger than 16 MB", Message(QT_TR_NOOP("大于 16 MB")));
        try {
            return Json::parse(bytes);
        } catch (const Json::exception &) {
            // A parse error, or a number too large for any JSON reader to hold.
            throw DesignError("not JSON", Message(QT_TR_NOOP("不是 JSON 文件")));
        }
    }

    void readHeader(const Json &file)
    {
        if (!file.is_object())
            throw DesignError("not a design: no JSON object",
                Message(QT_TR_NOOP("不是设计文件：没有 JSON 对象")));
        const auto format = file.find("format");
        if (format == file.end() || !format->is_string() || *format != kFormat)
            throw DesignError(std::string("not a design: its format is not ") + kFormat,
                Message(QT_TR_NOOP("不是设计文件：格式不是 %1"), { Message::literal(kFormat) }));
        const auto version = file.find("version");
        if (version == file.end() || !version->is_number_integer() || *version < 1)
            throw DesignError("not a design: no version 1 or later",
                Message(QT_TR_NOOP("不是设计文件：没有版本号 1 或更高")));
        if (*version > kVersion)
            throw DesignError("a design of version " + version->dump()
                    + ", made by a later Korvane: this one reads version 1",
                Message(QT_TR_NOOP("版本 %1 的设计文件，由较新的 Korvane 保存：本程序读版本 1"),
                    { Message::literal(version->dump()) }));
    }

    std::vector<layout::TypedOption> readInputs(const Json &file)
    {
        std::vector<layout::TypedOption> inputs;
        const auto found = file.find("inputs");
        if (found == file.end())
            return inputs;
        if (!found->is_object())
            throw DesignError("its inputs are not an object of option names and texts",
                Message(QT_TR_NOOP("输入不是选项名与文本的对象")));
        for (const auto &[name, text] : found->items()) {
            if (!text.is_string())
                throw DesignError("its input " + name + " is not a text",
                    Message(QT_TR_NOOP("输入 %1 不是文本"), { Message::literal(name) }));
            inputs.push_back({ name, text.get<std::string>() });
        }
        return inputs;
    }

    void readEdits(const Json &file, Design &design)
    {
        const auto found = file.find("edits");
        if (found == file.end())
            return;
        if (!found->is_array())
            throw DesignError("its edits are not a list", Message(QT_TR_NOOP("编辑不是列表")));
        for (const Json &one : *found) {
            if (!one.is_object() || !one.contains("site") || !one["site"].is_string()
                || !one.contains("action") || !one["action"].is_string())
                throw DesignError("an edit without a site and an action",
                    Message(QT_TR_NOOP("有一项编辑缺少管位或动作")));
            const std::string site = one["site"].get<std::string>(),
                              action = one["action"].get<std::string>();
            const auto at = layout::parseSite(site);
            if (!at)
                throw DesignError("the site \"" + site + "\" is not of the form r3c-5",
                    Message(QT_TR_NOOP("管位“%1”不是 r3c-5 的形式"), { Message::literal(site) }));
            if (action != "remove" && action != "dummy")
                throw DesignError("the action \"" + action + "\" is neither remove nor dummy",
                    Message(QT_TR_NOOP("动作“%1”既不是 remove 也不是 dummy"),
                        { Message::literal(action) }));
            Json rest = one;
            rest.erase("site");
            rest.erase("action");
            addEdits(design,
                { { *at,
                    action == "remove" ? layout::EditAction::Remove
                                       : layout::EditAction::Dummy } });
            design.editUnknown.resize(design.edits.size(), Json::object());
            // The keys of a later edit of the same site join those of the first.
            const auto place = std::find_if(design.edits.begin(), design.edits.end(),
                [&at](const layout::Edit &edit) { return edit.site == *at; });
            design.editUnknown[static_cast<std::size_t>(place - design.edits.begin())].update(rest);
        }
    }

} // namespace

Design readDesign(const std::string &bytes)
{
    const Json file = parsed(bytes);
    readHeader(file);
    Design design;
    if (const auto title = file.find("title"); title != file.end() && !title->is_null()) {
        if (!title->is_string())
            throw DesignError("its title is not a text", Message(QT_TR_NOOP("标题不是文本")));
        design.title = title->get<std::string>();
    }
    design.inputs = readInputs(file);
    readEdits(file, design);
    for (const auto &[key, value] : file.items())
        if (key != "format" && key != "version" && key != "title" && key != "inputs"
            && key != "edits")
            design.unknown[key] = value;
    return design;
}

Design readDesignFile(const std::string &file)
{
    std::ifstream in(file, std::ios::binary);
    std::string bytes(kMaxDesignBytes + 1, '\0');
    if (in)
        in.read(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!in && !in.eof())
        throw DesignError("cannot be read", Message(QT_TR_NOOP("无法读取")));
    bytes.resize(static_cast<std::size_t>(in.gcount()));
    return readDesign(bytes);
}

std::string designText(const Design &design)
{
    Json file = { { "format", kFormat }, { "version", kVersion } };
    file["title"] = design.title ? Json(*design.title) : Json(nullptr);
    Json inputs = Json::object();
    for (const layout::TypedOption &option : design.inputs)
        inputs[option.name] = option.value;
    file["inputs"] = inputs;
    Json edits = Json::array();
    for (std::size_t i = 0; i < design.edits.size(); ++i) {
        const layout::Edit &edit = design.edits[i];
        Json one = { { "site", layout::siteText(edit.site) },
            { "action", edit.action == layout::EditAction::Remove ? "remove" : "dummy" } };
        if (i < design.editUnknown.size())
            one.update(design.editUnknown[i]);
        edits.push_back(one);
    }
    file["edits"] = edits;
    for (const auto &[key, value] : design.unknown.items())
        file[key] = value;
    // Bytes typed on a command line need not be UTF-8: shown as U+FFFD rather than refused.
    return file.dump(2, ' ', false, Json::error_handler_t::replace) + "\n";
}

Design designNow(const Design &file, const std::map<std::string, std::string> &values,
    const std::string &title, const std::vector<layout::Edit> &edits)
{
    Design now = file;
    if (valuesOf(file.inputs).values != values)
        now.inputs = typedOptions(values);
    if (title != file.title.value_or(std::string()))
        now.title = title.empty() ? std::nullopt : std::optional(title);
    now.edits = edits;
    now.editUnknown.assign(edits.size(), Json::object());
    for (std::size_t i = 0; i < edits.size(); ++i)
        for (std::size_t j = 0; j < file.edits.size() && j < file.editUnknown.size(); ++j)
            if (file.edits[j].site == edits[i].site)
                now.editUnknown[i] = file.editUnknown[j];
    return now;
}

std::vector<layout::TypedOption> mergedInputs(
    const std::vector<layout::TypedOption> &file, const std::vector<layout::TypedOption> &typed)
{
    std::vector<layout::TypedOption> merged;
    for (const layout::TypedOption &option : file) {
        const bool replaced = std::any_of(typed.begin(), typed.end(),
            [&option](const layout::TypedOption &one) { return one.name == option.name; });
        // The shell and the layout circle are one diameter: typing either replaces both.
        const bool diameter = (option.name == "shell" || option.name == "otl")
            && std::any_of(typed.begin(), typed.end(), [](const layout::TypedOption &one) {
                   return one.name == "shell" || one.name == "otl";
               });
        if (!replaced && !diameter)
            merged.push_back(option);
    }
    merged.insert(merged.end(), typed.begin(), typed.end());
    return merged;
}

void addEdits(Design &design, const std::vector<layout::Edit> &edits)
{
    std::vector<layout::Edit> all = design.edits;
    all.insert(all.end(), edits.begin(), edits.end());
    design.edits = layout::mergedEdits(all);
}

} // namespace report
