#include "web/design_jobs.h"

#include "report/design.h"
#include "report/form.h"
#include "report/tube_index.h"

#include <stdexcept>
#include <string>

namespace web {

namespace {

    constexpr const char *kRemove = "remove", *kDummy = "dummy";

    report::TubeEdit tubeEditOf(const std::string &name)
    {
        if (name == kRemove)
            return report::TubeEdit::Remove;
        if (name == kDummy)
            return report::TubeEdit::Dummy;
        if (name == "restore")
            return report::TubeEdit::Restore;
        throw std::invalid_argument("no such edit: " + name);
    }

} // namespace

Json editsJson(const std::vector<layout::Edit> &edits)
{
    Json list = Json::array();
    for (const layout::Edit &edit : edits)
        list.push_back({ { "site", layout::siteText(edit.site) },
            { "action", edit.action == layout::EditAction::Remove ? kRemove : kDummy } });
    return list;
}

std::vector<layout::Edit> editsOf(const Json &list)
{
    std::vector<layout::Edit> edits;
    for (const Json &one : list) {
        const auto site = layout::parseSite(one.at("site").get<std::string>());
        const std::string action = one.at("action").get<std::string>();
        if (!site || (action != kRemove && action != kDummy))
            throw std::invalid_argument("not an edit: " + one.dump());
        edits.push_back(
            { *site, action == kRemove ? layout::EditAction::Remove : layout::EditAction::Dummy });
    }
    return edits;
}

std::vector<layout::TypedOption> editOptions(const std::vector<layout::Edit> &edits)
{
    std::string removed, dummies;
    for (const layout::Edit &edit : edits) {
        std::string &list = edit.action == layout::EditAction::Remove ? removed : dummies;
        list += (list.empty() ? "" : ",") + layout::siteText(edit.site);
    }
    std::vector<layout::TypedOption> options;
    if (!removed.empty())
        options.push_back({ kRemove, removed });
    if (!dummies.empty())
        options.push_back({ kDummy, dummies });
    return options;
}

std::vector<layout::Edit> takeEdits(std::vector<layout::TypedOption> &options)
{
    std::vector<layout::Edit> edits;
    std::vector<layout::TypedOption> rest;
    for (const layout::TypedOption &option : options) {
        if (option.name != kRemove && option.name != kDummy) {
            rest.push_back(option);
            continue;
        }
        const auto sites = layout::parseSites(option.value);
        if (!sites) {
            rest.push_back(option);
            continue;
        }
        for (const layout::Site &site : *sites)
            edits.push_back({ site,
                option.name == kRemove ? layout::EditAction::Remove : layout::EditAction::Dummy });
    }
    options = rest;
    return layout::mergedEdits(edits);
}

Json editJob(const Json &request)
{
    const auto site = layout::parseSite(request.at("site").get<std::string>());
    if (!site)
        throw std::invalid_argument("not a site: " + request.at("site").dump());
    const layout::Bundle bundle = request.value("bundle", std::string()) == "u-tube"
        ? layout::Bundle::UTube
        : layout::Bundle::Fixed;
    return { { "edits",
        editsJson(report::editedAs(editsOf(request.at("edits")), *site,
            tubeEditOf(request.at("edit").get<std::string>()), bundle)) } };
}

Json openDesignJob(const Json &request)
{
    report::Design design;
    try {
        design = report::readDesign(request.at("text").get<std::string>());
    } catch (const report::DesignError &error) {
        return { { "error", report::messageJson(error.reason()) } };
    }
    const report::Filled filled = report::valuesOf(design.inputs);
    if (!filled.refused.empty())
        return { { "error", report::messageJson(filled.refused.front()) } };
    return { { "values", filled.values }, { "title", design.title.value_or(std::string()) },
        { "edits", editsJson(design.edits) }, { "base", report::designText(design) } };
}

Json saveDesignJob(const Json &request)
{
    const Json &base = request.at("base");
    const report::Design file =
        base.is_null() ? report::Design() : report::readDesign(base.get<std::string>());
    const report::Design now = report::designNow(file, request.at("values").get<report::Values>(),
        request.value("title", std::string()), editsOf(request.at("edits")));
    return { { "text", report::designText(now) } };
}

} // namespace web
