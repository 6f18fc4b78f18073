#pragma once
// What the braking pages do alike with their fields: the checks of their inputs, and the writes of
// the speed at the start of the reaction and of the stopping speed.
#include <string_view>

#include "page/checked_input.h"
#include "page/port.h"

namespace vorlanex::kinematics {

using page::InputCheck;
using page::read_checked;
using page::SubstituteShown;
using page::Test;

inline constexpr InputCheck kRunOutSpeedCheck{Test::AtLeastZero, "Pozor, rychlost musí být nejméně 0 !", true, 0};
inline constexpr InputCheck kDistanceCheck{Test::AtLeastZero,
                                           "Pozor, dráha musí být nejméně 0 !\rVýpočet nelze provést !", true, 0};
inline constexpr InputCheck kAdhesionCheck{
    Test::AboveZero, "Pozor, hodnota součinitele adheze musí být > 0 !\rVýpočet nelze provést !", true, 0.8};
inline constexpr InputCheck kEesCheck{Test::AtLeastZero,
                                      "Pozor, hodnota EES je záporná !\rVozidlo bylo při střetu zrychleno !", false, 0};
inline constexpr InputCheck kTimeCheck{Test::AtLeastZero,
                                       "Pozor, hodnota času musí být kladná !\rVýpočet nelze provést !", true, 0};

// The fields that show the speed at the pedal press, which is also the speed at the start of the
// reaction, in the order they are written.
struct PedalPressSpeedFields {
    std::string_view pedal_press_kilometres_per_hour;         // 3 places
    std::string_view reaction_start_kilometres_per_hour;      // 2 places (the wide bold field)
    std::string_view reaction_start_metres_per_second;        // 3 places
    std::string_view reaction_start_box_kilometres_per_hour;  // 3 places
};

// Rounds v_p three ways, then writes the four fields.
void write_pedal_press_speed(page::Port& page, double vp, const PedalPressSpeedFields& fields);

// The stopping speed from the start of the reaction over the reaction-start distance S: v_z in
// m/s is shown, then its km/h value is formed from the rounded v_z and shown.
void write_stopping_speed(page::Port& page, double tn, double tr, double a2, double S,
                          std::string_view metres_per_second_field, std::string_view kilometres_per_hour_field);

}  // namespace vorlanex::kinematics
