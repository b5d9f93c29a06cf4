#pragma once

// An inlet nozzle's impingement plate: read from "Dn[,A[,h[,t]]]" with the defaults of design
// practice, checked against the shell, and the shell entrance area designers check around it.

#include "layout/inputs.h"

#include <string>

namespace layout {

/// Reads "Dn[,A[,h[,t]]]" (each a length in the exact range, inches too): A defaults to Dn + 50 mm,
/// h to Dn/4 (where the escape area π·Dn·h is the bore's), t to 6 mm. Throws InputError on
/// Field::Impingement for anything else.
Impingement parseImpingement(const std::string &text);

/// The problems of a plate in its shell, at most one: Dn <= 0 or >= Di, A < Dn, h <= 0, t < 0,
/// or a plate reaching below the centre line. Nothing when the inputs have no plate.
std::optional<InputError> plateProblem(const Inputs &inputs);

/// The shell entrance area of design practice, in doubles: h1 = h,
/// h2 = h1 − (Di − √(Di² − Dn²))/2, the area π·Dn·(h1 + h2)/2 and the bore's π·Dn²/4.
struct EntranceArea
{
    double h1 = 0, h2 = 0, entrance = 0, nozzle = 0;
};
EntranceArea entranceAreaOf(const Inputs &inputs);

} // namespace layout
