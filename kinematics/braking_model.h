#pragma once
// The braking model shared by the braking pages: full braking decelerates at adhesion × g; a skid
// mark of length s ending at speed v starts at √(v² + 2·a·s); during the brake build-up time the
// deceleration counts as a/2; during the reaction time the speed is constant. Each function is one
// unstored extended-precision expression; the calling step decides where its value is stored.
#include "numeric/extended.h"
#include "numeric/speed_units.h"

namespace vorlanex::kinematics {

using numeric::Extended;
using numeric::kilometres_per_hour_rounded;
using numeric::metres_per_second;

// Standard gravity [m/s²], held at extended precision.
inline constexpr Extended kStandardGravity{9.80665L};

// a = μ × g.
Extended deceleration(double adhesion);

// v_a = √((V / 3.6)² + 2 × a₁ × s₁): the speed just after the collision from the run-out speed V
// [km/h], the deceleration a₁ and the braking distance s₁ after the collision.
Extended speed_after_collision(double V, double a1, double s1);

// t₁ = (v_a − V / 3.6) / a₁ with v_a formed from the same inputs, not stored.
Extended braking_time_after_collision(double V, double a1, double s1);

// v_b = √(v_a² + (EES / 3.6)²) when EES ≥ 0; otherwise the vehicle was accelerated by the
// collision and v_b = √(v_a² − (EES / 3.6)²), an invalid operation when |EES| / 3.6 > v_a.
Extended speed_before_collision(double va, double EES);

// v_s = √(v_b² + 2 × a₂ × s₂): the speed at the start of the skid mark.
Extended skid_start_speed(double vb, double a2, double s2);

// t₂ = (v_s − v_b) / a₂ with v_s formed from the same inputs, not stored.
Extended braking_time_before_collision(double vb, double a2, double s2);

// v_p = a₂ / 2 × tₙ + v_s: during the build-up the deceleration counts as half of a₂.
Extended pedal_press_speed(double a2, double tn, double vs);

// The speed at the start of the reaction that still allows stopping exactly within the distance S
// counted from there: reaction time tᵣ at constant speed, build-up time tₙ at mean deceleration
// a₂/2, then full braking. Returns v_z rounded to 3 places, the only value used afterwards. The
// braking pages stop before the collision point (S: the reaction-start distance); the speed
// appropriate to visibility stops within the visible distance (S: L).
double stopping_speed(double tn, double tr, double a2, double S);

// Full braking at the deceleration a from the speed w down to a stop: w² / (2 × a) metres ...
Extended braking_distance_to_stop(Extended w, double a);
// ... in w / a seconds.
Extended braking_time_to_stop(Extended w, double a);

// The speed left after braking at the deceleration a over the distance x from the speed u:
// √(u² − 2 × x × a). When the vehicle comes to rest just there, rounding in a and x alone can make
// the quantity under the root negative; the vehicle then stands: 0.
Extended speed_after_braking(Extended u, double x, double a);

}  // namespace vorlanex::kinematics
