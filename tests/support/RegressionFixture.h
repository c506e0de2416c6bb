#pragma once

// The small survey of the regression tests.
namespace regression_fixture {

// The regression fixture of the reference data (../shared/data/wave-3-references.md): y on x1
// and x2 over 10 interviews; interview 11 has no target. X1BIS repeats X1.
inline const char* const kSurvey = R"(
questionnaire "Regression" language=fr
language 1036 fr "Français"
question 1 X1 numeric
  caption fr "Première"
question 2 X2 numeric
  caption fr "Seconde"
question 3 Y numeric
  caption fr "Cible"
question 4 X1BIS numeric
  caption fr "Première bis"
records
Cle1,1;1,2;1,3;1,4;1
1,2,3,1.5,2
2,3,1,2.5,3
3,5,4,3.0,5
4,4,6,4.5,4
5,6,5,4.0,6
6,8,7,6.5,8
7,7,9,5.0,7
8,9,8,7.5,9
9,10,12,8.0,10
10,12,10,9.5,12
11,11,6.5,,11
end
)";

// PSPP REGRESSION /METHOD=ENTER and R lm(y ~ x1 + x2): B, standard error, 100 x Sig.
inline constexpr double kCoefficients[3][3] = {{-0.0446126447, 0.5364307103, 93.6048058},
                                               {0.6921193232, 0.1506042006, 0.2497102},
                                               {0.1040961710, 0.1429918016, 49.0250302}};

} // namespace regression_fixture
