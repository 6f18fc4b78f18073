#include "kinematics/braking_fields.h"

#include "kinematics/braking_model.h"
#include "numeric/round_to_places.h"

namespace vorlanex::kinematics {

void write_pedal_press_speed(page::Port& page, double vp, const PedalPressSpeedFields& fields) {
    const double metres_per_second = numeric::round_to_places(vp, 3);
    const double kilometres_per_hour = kilometres_per_hour_rounded(vp, 3);
    const double kilometres_per_hour_2_places = kilometres_per_hour_rounded(vp, 2);
    page::write_number(page, fields.pedal_press_kilometres_per_hour, kilometres_per_hour);
    page::write_number(page, fields.reaction_start_kilometres_per_hour, kilometres_per_hour_2_places);
    page::write_number(page, fields.reaction_start_metres_per_second, metres_per_second);
    page::write_number(page, fields.reaction_start_box_kilometres_per_hour, kilometres_per_hour);
}

void write_stopping_speed(page::Port& page, double tn, double tr, double a2, double S,
                          std::string_view metres_per_second_field, std::string_view kilometres_per_hour_field) {
    const double vz = stopping_speed(tn, tr, a2, S);
    page::write_number(page, metres_per_second_field, vz);
    page::write_number(page, kilometres_per_hour_field, kilometres_per_hour_rounded(vz, 3));
}

}  // namespace vorlanex::kinematics
