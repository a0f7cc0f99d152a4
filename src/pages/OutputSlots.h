#pragma once

namespace kenmori {

// The slot of every output field, by name: slot i of a JobRecord is written
// under catalog field i. Rules, catalog and the demonstration site refer to
// slots only through these names; what each slot holds, its catalog name and
// its page label, is in its row of OutputSlotTable.

inline constexpr int kSlotJobNumber = 0;
inline constexpr int kSlotJobCategory = 1;
inline constexpr int kSlotCompanyNumber = 2;
inline constexpr int kSlotCompanyName = 3;
inline constexpr int kSlotCompanyKana = 4;
inline constexpr int kSlotRepresentative = 5;
inline constexpr int kSlotCorporateNumber = 6;
inline constexpr int kSlotPostalCode = 7;
inline constexpr int kSlotAddress = 8;
inline constexpr int kSlotTelephone = 9;
inline constexpr int kSlotFax = 10;
inline constexpr int kSlotHomePage = 11;
inline constexpr int kSlotFounded = 12;
inline constexpr int kSlotCapital = 13;
inline constexpr int kSlotLabourUnion = 14;
inline constexpr int kSlotBusiness = 15;
inline constexpr int kSlotCompanyFeatures = 16;
inline constexpr int kSlotOccupation = 17;
inline constexpr int kSlotEmploymentType = 18;
inline constexpr int kSlotDispatch = 19;
inline constexpr int kSlotEmploymentPeriod = 20;
inline constexpr int kSlotAge = 21;
inline constexpr int kSlotAgeLimitReason = 22;
inline constexpr int kSlotWorkingHours = 23;
inline constexpr int kSlotBreakTime = 24;
inline constexpr int kSlotOvertime = 25;
inline constexpr int kSlotWorkingDays = 26;
inline constexpr int kSlotBasePay = 27;
inline constexpr int kSlotFixedAllowances = 28;
inline constexpr int kSlotFixedOvertimePay = 29;
inline constexpr int kSlotOtherAllowances = 30;
inline constexpr int kSlotTotalWage = 31;
inline constexpr int kSlotWageForm = 32;
inline constexpr int kSlotWageClosingDay = 33;
inline constexpr int kSlotPayday = 34;
inline constexpr int kSlotPayRaise = 35;
inline constexpr int kSlotBonus = 36;
inline constexpr int kSlotHolidays = 37;
inline constexpr int kSlotTwoDayWeekend = 38;
inline constexpr int kSlotAnnualHolidays = 39;
inline constexpr int kSlotWorkRules = 40;
inline constexpr int kSlotChildcareLeaveRecord = 41;
inline constexpr int kSlotNursingCareLeaveRecord = 42;
inline constexpr int kSlotSickChildLeaveRecord = 43;
inline constexpr int kSlotForeignStaffRecord = 44;
inline constexpr int kSlotUijTurnWelcome = 45;
inline constexpr int kSlotChildcareFacility = 46;
inline constexpr int kSlotWorkplace = 47;
inline constexpr int kSlotNearestStation = 48;
inline constexpr int kSlotTransferPossible = 49;
inline constexpr int kSlotEmployeeCount = 50;
inline constexpr int kSlotInsurance = 51;
inline constexpr int kSlotCorporatePension = 52;
inline constexpr int kSlotRetirementMutualAid = 53;
inline constexpr int kSlotRetirementAllowance = 54;
inline constexpr int kSlotRetirementAge = 55;
inline constexpr int kSlotReemployment = 56;
inline constexpr int kSlotWorkExtension = 57;
inline constexpr int kSlotHousing = 58;
inline constexpr int kSlotCarCommuting = 59;
inline constexpr int kSlotCommutingAllowance = 60;
inline constexpr int kSlotHiringCount = 61;
inline constexpr int kSlotJobDescription = 62;
inline constexpr int kSlotEducation = 63;
inline constexpr int kSlotExperience = 64;
inline constexpr int kSlotLicences = 65;
inline constexpr int kSlotTrialEmployment = 66;
inline constexpr int kSlotProbation = 67;
inline constexpr int kSlotCompanyMessage = 68;
inline constexpr int kSlotJobBasedPay = 69;
inline constexpr int kSlotReinstatement = 70;
inline constexpr int kSlotTraining = 71;
inline constexpr int kSlotOtherNotes = 72;
inline constexpr int kSlotIndustryMajor = 73;
inline constexpr int kSlotIndustryMiddle = 74;
inline constexpr int kSlotIndustryMinor = 75;
inline constexpr int kSlotOnlineApplication = 76;
inline constexpr int kSlotSelectionMethod = 77;
inline constexpr int kSlotSelectionResult = 78;
inline constexpr int kSlotApplicantNotice = 79;
inline constexpr int kSlotApplicationDocuments = 80;
inline constexpr int kSlotDocumentReturn = 81;
inline constexpr int kSlotSelectionSchedule = 82;
inline constexpr int kSlotSelectionPlace = 83;
inline constexpr int kSlotGraduatesAccepted = 84;
inline constexpr int kSlotGraduateStartDate = 85;
inline constexpr int kSlotContactPerson = 86;
inline constexpr int kSlotContactEmail = 87;
inline constexpr int kSlotPostingNotes = 88;
inline constexpr int kSlotReceivedDate = 89;
inline constexpr int kSlotReferralDeadline = 90;
inline constexpr int kSlotReceivingOffice = 91;
inline constexpr int kSlotPostingSheetUrl = 92;
inline constexpr int kSlotPageUrl = 93;

inline constexpr int kOutputFieldCount = 94;

} // namespace kenmori
