#include "kinematics/braking_model.h"

#include "numeric/round_to_places.h"

namespace vorlanex::kinematics {

using numeric::round_to_places;
using numeric::store;

Extended deceleration(double adhesion) { return Extended{adhesion} * kStandardGravity; }

Extended speed_after_collision(double V, double a1, double s1) {
    return sqrt(square(metres_per_second(V)) + Extended{2.0} * a1 * s1);
}

Extended braking_time_after_collision(double V, double a1, double s1) {
    return (speed_after_collision(V, a1, s1) - metres_per_second(V)) / a1;
}

Extended speed_before_collision(double va, double EES) {
    if (EES >= 0) return sqrt(square(Extended{va}) + square(metres_per_second(EES)));
    return sqrt(square(Extended{va}) - square(metres_per_second(EES)));
}

Extended skid_start_speed(double vb, double a2, double s2) {
    return sqrt(square(Extended{vb}) + Extended{2.0} * a2 * s2);
}

Extended braking_time_before_collision(double vb, double a2, double s2) {
    return (skid_start_speed(vb, a2, s2) - vb) / a2;
}

Extended pedal_press_speed(double a2, double tn, double vs) { return Extended{a2} / 2.0 * tn + vs; }

double stopping_speed(double tn, double tr, double a2, double S) {
    // u is the root of (1 / a₂)·u² + P·u + Q = 0: the speed at the start of full braking for which
    // reaction, build-up and full braking together cover exactly S.
    const double P = store(Extended{2.0} * tn + Extended{2.0} * tr);
    const double Q =
        store(Extended{tn} * (Extended{a2} * tn) / 2.0 - Extended{2.0} * S + Extended{tr} * (Extended{a2} * tn));
    const double u = store((sqrt(square(Extended{P}) - Extended{4.0} / a2 * Q) - P) / (Extended{2.0} / a2));
    return round_to_places(Extended{a2} * tn / 2.0 + u, 3);
}

Extended braking_distance_to_stop(Extended w, double a) { return square(w) / (Extended{2.0} * a); }

Extended braking_time_to_stop(Extended w, double a) { return w / a; }

Extended speed_after_braking(Extended u, double x, double a) {
    const Extended under_root = square(u) - Extended{2.0} * x * a;
    if (under_root < Extended{0.0}) return Extended{0.0};
    return sqrt(under_root);
}

}  // namespace vorlanex::kinematics
