#include "layout/impingement.h"

#include "layout/options.h"
#include "text/quote.h"
#include "text/split.h"

#include <cmath>

namespace layout {

namespace {

    constexpr std::int64_t kPlateMarginMm = 50, kPlateThicknessMm = 6;

    std::string mmText(Length length)
    {
        return lengthText(length) + " mm";
    }

} // namespace

Impingement parseImpingement(const std::string &text)
{
    const std::vector<std::string> parts = text::split(text, ',');
    if (parts.empty() || parts.size() > 4)
        throw InputError("--impingement takes Dn[,A[,h[,t]]], not " + text::quote(text),
            Problem::SpacingForm, Field::Impingement);
    std::vector<Length> given;
    for (const std::string &part : parts) {
        try {
            given.push_back(parseLength(normalised(part), "--impingement"));
        } catch (const InputError &error) {
            throw InputError(error.what(), error.problem(), Field::Impingement);
        }
    }
    Impingement plate;
    plate.nozzle = given[0];
    plate.plate =
        given.size() > 1 ? given[1] : Length { given[0].units + mm(kPlateMarginMm).units };
    // π·Dn·h = π·Dn²/4: the plate leaves the bore's own area to escape by.
    plate.height = given.size() > 2 ? given[2] : Length { given[0].units / 4 };
    plate.thickness = given.size() > 3 ? given[3] : mm(kPlateThicknessMm);
    return plate;
}

std::optional<InputError> plateProblem(const Inputs &in)
{
    if (!in.impingement)
        return std::nullopt;
    const Impingement &p = *in.impingement;
    const auto refuse = [](const std::string &message, Problem problem) {
        return InputError(message, problem, Field::Impingement);
    };
    if (in.given != Given::Shell)
        return refuse("--impingement needs --shell: the plate hangs from the shell's top",
            Problem::NeedsShell);
    if (p.nozzle.units <= 0 || !(p.nozzle < in.diameter))
        return refuse("the nozzle bore must be above 0 and below the shell's " + mmText(in.diameter)
                + ", not " + mmText(p.nozzle),
            Problem::NozzleWidth);
    if (p.plate < p.nozzle)
        return refuse("the impingement plate " + mmText(p.plate) + " is narrower than its nozzle "
                + mmText(p.nozzle),
            Problem::PlateBelowNozzle);
    if (p.height.units <= 0)
        return refuse(
            "the plate's height below the shell must be positive, not " + mmText(p.height),
            Problem::NotPositive);
    if (p.thickness.units < 0)
        return refuse("the plate's thickness must be 0 or more, not " + mmText(p.thickness),
            Problem::Negative);
    if (Int128(in.diameter.units) < 2 * (Int128(p.height.units) + p.thickness.units))
        return refuse("the impingement plate reaches below the shell's centre line: h + t = "
                + lengthText({ p.height.units + p.thickness.units }) + " mm is more than Di/2",
            Problem::PlateBelowCentre);
    return std::nullopt;
}

EntranceArea entranceAreaOf(const Inputs &in)
{
    const double di = millimetres(in.diameter), dn = millimetres(in.impingement->nozzle);
    const double pi = 3.14159265358979323846;
    EntranceArea area;
    area.h1 = millimetres(in.impingement->height);
    area.h2 = area.h1 - (di - std::sqrt(di * di - dn * dn)) / 2;
    area.entrance = pi * dn * (area.h1 + area.h2) / 2;
    area.nozzle = pi * dn * dn / 4;
    return area;
}

} // namespace layout
