// Tone levels in the units telephony uses. A tone's level in a setting is its peak as a
// percentage of full scale (32767). dBFS puts a full-scale sine at 0 dB, so for a sine the
// level from its peak and from its RMS agree. dBm0 follows G.711: a sine at the codec's
// full scale is +3.14 dBm0 (ITU-T G.711, the A-law figure; mu-law's is +3.17).
#pragma once

// dBm0 of a full-scale sine.
constexpr double kFullScaleSineDbm0 = 3.14;

// Level in dBFS of a peak that is percent of full scale; -infinity for 0 or less.
double PercentToDbfs(double percent);
// The peak, in percent of full scale, of a level in dBFS.
double DbfsToPercent(double dbfs);

double DbfsToDbm0(double dbfs);
double Dbm0ToDbfs(double dbm0);

// Level in dBFS of a signal whose RMS is rms in 16-bit sample units; -infinity for 0.
double RmsToDbfs(double rms);
