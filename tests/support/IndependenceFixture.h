#pragma once

// The small survey of the independence tests and of the search for significant cross tables.
namespace independence_fixture {

// The weighted chi-square fixture of the reference data (../shared/data/wave-3-references.md):
// A by B weighted by W, PSPP CROSSTABS and R chisq.test(xtabs(w ~ a + b), correct = FALSE). C and
// D cross independently (counts 2 3 / 2 3), E is always 1; WK is W x 1000.
//
// Risks of the pairs weighted by W, R 4.2 100 * chisq.test(xtabs(w ~ r + c), correct = FALSE)$p.value:
// A x B 53.94064, A x D 3.206469, C x B 21.17291, C x D 50.08443; E has no test. Weighted by WK the
// chi-squares are 1000 times larger: A x B 3111.111 (4 df) and C x B 3104.895 (2 df) have the
// risk 0 (R's p.value is exactly 0).
inline const char* const kSurvey = R"(
questionnaire "Test" language=fr
language 1036 fr "Français"
question 1 A closed
  caption fr "Question A"
  modality 1 fr "A1"
  modality 2 fr "A2"
  modality 3 fr "A3"
question 2 B closed
  caption fr "Question B"
  modality 1 fr "B1"
  modality 2 fr "B2"
  modality 3 fr "B3"
question 3 W numeric
  caption fr "Poids"
question 4 C closed
  caption fr "Question C"
  modality 1 fr "C1"
  modality 2 fr "C2"
question 5 D closed
  caption fr "Question D"
  modality 1 fr "D1"
  modality 2 fr "D2"
question 6 E closed
  caption fr "Question E"
  modality 1 fr "E1"
  modality 2 fr "E2"
question 7 WK numeric
  caption fr "Poids x 1000"
records
Cle1,1;1,2;1,3;1,4;1,5;1,6;1,7;1
1,1,1,1.0,1,1,1,1000
2,1,2,2.0,1,1,1,2000
3,2,1,1.0,1,2,1,1000
4,2,2,1.5,1,2,1,1500
5,3,1,1.0,1,2,1,1000
6,3,2,0.5,2,1,1,500
7,1,1,1.0,2,1,1,1000
8,2,2,2.0,2,2,1,2000
9,3,3,1.0,2,2,1,1000
10,1,3,1.0,2,2,1,1000
end
)";

} // namespace independence_fixture
