// Every text the program asks for by number, named once. The language files
// hold a text for each in English and Chinese, in the section of its range;
// the field tables name the captions of their controls and list items
// themselves, and the language-file test walks both.
#pragma once

namespace cps::text {

// ---- Messages ----------------------------------------------------------------
inline constexpr int kDataFileFilter = 9001;
inline constexpr int kFileError = 9002;  // a file or settings file could not be read or written
inline constexpr int kCannotOpenPort = 9003;
inline constexpr int kConfirmRead = 9004;
inline constexpr int kConfirmWrite = 9005;
inline constexpr int kUnsavedChanges = 9006;
inline constexpr int kConfirmOverwrite = 9007;
inline constexpr int kTransferFailedRetry = 9008;
inline constexpr int kReadComplete = 9009;
inline constexpr int kWriteComplete = 9010;
inline constexpr int kModelMismatch = 9012;
inline constexpr int kBandDiffers = 9014;
inline constexpr int kConfirmModelChange = 9016;
inline constexpr int kOkButton = 9017;
inline constexpr int kCancelButton = 9018;
inline constexpr int kConfirmModelChangeTitle = 9019;
inline constexpr int kFrequencyOutOfBand = 9021;
inline constexpr int kCloseButton = 9023;
inline constexpr int kHelpButton = 9025;
inline constexpr int kConfirmNewDocument = 9026;
inline constexpr int kProgressReading = 9027;
inline constexpr int kProgressWriting = 9028;
inline constexpr int kProgressPercentLabel = 9029;
inline constexpr int kBandRefused = 9030;
inline constexpr int kWriteProtected = 9031;
inline constexpr int kWriteNotAccepted = 9032;
inline constexpr int kWrongFileSize = 9033;
// A serial port the user may not open (%1 the device, %2 its group), and one
// another program holds (%1).
inline constexpr int kPortPermissionDenied = 9034;
inline constexpr int kPortBusy = 9035;

// The first-run link check.
inline constexpr int kLinkStep1 = 9050;
inline constexpr int kLinkStep2 = 9051;
inline constexpr int kLinkStep3 = 9052;
inline constexpr int kLinkStep4 = 9053;
inline constexpr int kLinkIntro = 9054;

// Versions of radios, programs and data files.
inline constexpr int kVersionOfRadio = 9060;
inline constexpr int kVersionOfProgram = 9061;
inline constexpr int kVersionMismatch = 9062;
inline constexpr int kNoProgramForVersion = 9063;
inline constexpr int kVersionOfFile = 9064;
inline constexpr int kNotADataFile = 9065;

// The progress of a transfer, and its backup.
inline constexpr int kProgressBlocks = 9070;
inline constexpr int kProgressElapsed = 9071;
inline constexpr int kProgressSeconds = 9072;
inline constexpr int kBackupFailed = 9075;

// The check after a write.
inline constexpr int kProgressVerifying = 9076;
inline constexpr int kVerifyFailed = 9077;
inline constexpr int kWriteVerified = 9078;
inline constexpr int kVerifyAfterWriteBox = 9079;
inline constexpr int kVerifyReadFailed = 9080;

// The command line's own refusals; a name or value the user gave comes first.
inline constexpr int kCliUnknownVerb = 9090;
inline constexpr int kCliUnknownSetting = 9091;
inline constexpr int kCliFileNotChanged = 9092;
inline constexpr int kCliGiveSettingValues = 9093;
inline constexpr int kCliNoVersionTable = 9094;
inline constexpr int kCliUnknownField = 9095;
inline constexpr int kCliGiveFieldValues = 9096;
inline constexpr int kCliUnknownModel = 9097;
inline constexpr int kCliUnknownBand = 9098;
inline constexpr int kCliNoSuchChannel = 9099;

// A value a setting refuses, with %1 the setting's name and %2 the value as
// given; the list of what it takes comes last, built of the phrases below.
inline constexpr int kSettingTakesItems = 9100;
inline constexpr int kSettingListEmpty = 9101;
inline constexpr int kSettingNoItemStores = 9102;  // %3 the number
inline constexpr int kSettingTakesCheck = 9103;
inline constexpr int kSettingPlainAscii = 9104;  // %3 the first character it cannot hold
inline constexpr int kSettingTakesFrequency = 9105;
inline constexpr int kSettingTakesFmRange = 9106;     // %3 to %4 MHz
inline constexpr int kSettingTakesFmDecimals = 9107;  // %3 to %4 MHz
inline constexpr int kSettingTakesFrequencyDecimals = 9108;
// A text box's rules, with %1 the setting's name.
inline constexpr int kSettingCharacterRefused = 9110;  // %2 the character
inline constexpr int kSettingTextTooLong = 9111;       // %2 the most characters
inline constexpr int kSettingTextTooShort = 9112;      // %2 the fewest characters
inline constexpr int kSettingNotText = 9113;
// What SetSetting itself refuses, with %1 the setting's name.
inline constexpr int kSettingTakesText = 9115;
inline constexpr int kSettingValueNotOffered = 9116;  // %2 the stored number
inline constexpr int kSettingScanNeedsScanMode = 9117;
inline constexpr int kSettingHasNoPlace = 9118;
inline constexpr int kTakesWholeNumber = 9119;  // %1 a setting or argument, %2 the value
// Phrases of the list of values a setting takes.
inline constexpr int kRangePhrase = 9120;         // %1 to %2
inline constexpr int kSteppedRangePhrase = 9121;  // %1 to %2 in steps of %3

// The command line itself is wrong; %1 names the option or argument.
inline constexpr int kCliRequired = 9130;
inline constexpr int kCliUnknownOption = 9131;
inline constexpr int kCliUnexpectedArgument = 9132;
inline constexpr int kCliNeedsValue = 9134;
inline constexpr int kCliGiveVerb = 9135;          // %1 the verbs
inline constexpr int kCliHelpHint = 9136;          // %1 the command whose help says more
inline constexpr int kCliCommandLineWrong = 9137;  // %1 the parser's own words
// A serial device the command line could not open, after text 9003.
inline constexpr int kNoSuchSerialDevice = 9140;     // %1 the device
inline constexpr int kSerialDeviceNotOpened = 9141;  // %1 the device, %2 the system's reason
inline constexpr int kCliPortNotInMap = 9142;        // %1 the port, %2 the port map
// A refusal (%1) that left the file as it was.
inline constexpr int kCliRefusedFileNotChanged = 9143;
// Why an edit of a channel was refused, in words both front ends can show.
inline constexpr int kEditOffsetTooLarge = 9150;
inline constexpr int kEditNotAValue = 9151;        // %1 the value, %2 the largest
inline constexpr int kEditOffsetNotNumber = 9152;  // %1 the offset typed
inline constexpr int kEditListFull = 9153;
inline constexpr int kCliNotATone = 9154;  // %1 the value given
inline constexpr int kCliLastChannelKept = 9155;
inline constexpr int kCliChannelNotThere = 9156;
inline constexpr int kCliChannelRefusal = 9157;  // %1 channel, %2 field, %3 why

// ---- Main window -------------------------------------------------------------
inline constexpr int kApplicationTitle = 12000;
inline constexpr int kPortLabel = 12008;
inline constexpr int kFileLabel = 12009;

inline constexpr int kImportChannelsEntry = 10007;
inline constexpr int kExportChannelsEntry = 10008;

inline constexpr int kChannelWindowTitle = 12001;

inline constexpr int kUndo = 10211;
inline constexpr int kRedo = 10212;

// ---- Model and band ----------------------------------------------------------
inline constexpr int kModelInfoCaption = 13000;
inline constexpr int kModelLabel = 13001;
inline constexpr int kBandLabel = 13002;

// ---- Channel table -----------------------------------------------------------
inline constexpr int kChannelRowHeader = 14001;
inline constexpr int kReservedHeader = 14004;
inline constexpr int kDetailsHeader = 14011;
inline constexpr int kChannelWord = 14012;  // the caption's "Channel"
inline constexpr int kNoneItem = 14013;     // the first item of the tone and signalling lists
inline constexpr int kNoItem = 14017;       // a check box unticked, in words
inline constexpr int kYesItem = 14018;
inline constexpr int kChannelEditButton = 14023;
inline constexpr int kGroupWord = 14050;  // the group selector's label and the caption's "Group"
inline constexpr int kOffsetHeader = 14100;

// ---- Channel edit dialog -----------------------------------------------------
inline constexpr int kChannelDialogCaption = 15000;
inline constexpr int kDialogPositionLabel = 15001;
inline constexpr int kDialogReceiveLabel = 15002;
inline constexpr int kDialogTransmitLabel = 15003;
inline constexpr int kDialogGroupLabel = 15029;
inline constexpr int kDialogOffsetLabel = 15100;

// ---- Channel commands and edit habits -------------------------------------------
inline constexpr int kConfirmCaption = 28000;
inline constexpr int kConfirmPaste = 28001;
inline constexpr int kConfirmDelete = 28002;
inline constexpr int kConfirmDontAsk = 28003;
inline constexpr int kConfirmYes = 28004;
inline constexpr int kConfirmNo = 28005;
inline constexpr int kHabitsCaption = 28006;
inline constexpr int kHabitPasteNoPrompt = 28007;
inline constexpr int kHabitPasteInserts = 28008;
inline constexpr int kHabitDeleteNoPrompt = 28009;
inline constexpr int kHabitDeleteCloses = 28010;
inline constexpr int kHabitOffsetMode = 28011;
// Why a command left the document as it was (shown in the status bar).
inline constexpr int kLastChannelKept = 28012;
inline constexpr int kNoFreeChannelEntry = 28013;
// Several channels at once: the selection, rows from a spreadsheet, the
// dialog that changes every selected channel.
inline constexpr int kRowsPasted = 28020;          // %1 rows taken, %2 skipped
inline constexpr int kChannelsNotFitting = 28021;  // %1 channels past channel 128
inline constexpr int kChangeChannelsCaption = 28022;
inline constexpr int kLeaveAsItIs = 28023;
inline constexpr int kSwitchOn = 28024;
inline constexpr int kSwitchOff = 28025;
inline constexpr int kChannelsSelected = 28026;  // %1 channels of group %2
inline constexpr int kChannelsChanged = 28027;   // %1
inline constexpr int kNoRowsToPaste = 28028;
inline constexpr int kSelectAllChannelsEntry = 10809;
inline constexpr int kChangeSelectedEntry = 10810;
inline constexpr int kPasteRowsEntry = 10213;

// ---- Optional features -------------------------------------------------------
inline constexpr int kOptFeaturesCaption = 16000;

// ---- FM presets and test frequencies ---------------------------------------------
inline constexpr int kFmCaption = 17000;
inline constexpr int kFmNumber = 17001;
inline constexpr int kFmFrequencyColumn = 17002;
inline constexpr int kTestFrequencyCaption = 19000;
inline constexpr int kTestFrequencyLabel = 19001;
inline constexpr int kFivePointLabel = 19002;
inline constexpr int kTestFrequencyNumber = 19003;
inline constexpr int kTestFrequencyColumn1 = 19004;
inline constexpr int kTestFrequencyColumn2 = 19005;

// ---- The other radio-wide settings windows -------------------------------------
inline constexpr int kDtmfCaption = 18000;
inline constexpr int kMessageCaption = 20000;
// Why a keystroke in a message line was not taken: a character the radio's
// text cannot hold, or a line already full.
inline constexpr int kMessageCharacterRefused = 20001;
inline constexpr int kMessageLineFull = 20002;
inline constexpr int kKeyCaption = 25000;
inline constexpr int kScanCaption = 26000;
inline constexpr int kAlertCaption = 27000;

// ---- Radio information -------------------------------------------------------
inline constexpr int kRadioInfoCaption = 21000;
inline constexpr int kRadioInfoDealerFrame = 21001;
inline constexpr int kRadioInfoRegion = 21002;
inline constexpr int kRadioInfoBatch = 21003;
inline constexpr int kRadioInfoCustomer = 21004;
inline constexpr int kRadioInfoModel = 21005;
inline constexpr int kRadioInfoBand = 21006;
inline constexpr int kRadioInfoSerial = 21007;
inline constexpr int kRadioInfoProductionDate = 21008;
inline constexpr int kRadioInfoRepairDate = 21009;
inline constexpr int kRadioInfoVersion = 21010;
inline constexpr int kRadioInfoRepairReason = 21011;
inline constexpr int kRadioInfoRepairReasonAgain = 21012;
inline constexpr int kRadioInfoDealerCode = 21013;
inline constexpr int kRadioInfoStockInDate = 21014;
inline constexpr int kRadioInfoSaleDate = 21015;
inline constexpr int kRadioInfoHandledBy = 21016;

// ---- Port and link check -----------------------------------------------------
inline constexpr int kSetCommCaption = 22000;
inline constexpr int kSetCommFrame = 22001;
inline constexpr int kSetCommPort = 22002;  // followed by the port number
inline constexpr int kLinkCaption = 22003;
inline constexpr int kLinkPortLabel = 22004;
inline constexpr int kPortDeviceLabel = 22005;  // before the device and its USB adapter

// ---- Language and password ---------------------------------------------------
inline constexpr int kLanguageCaption = 23000;
inline constexpr int kLanguageLabel = 23001;
inline constexpr int kLanguageEnglish = 23002;
inline constexpr int kLanguageChinese = 23003;
inline constexpr int kPassWordCaption = 23100;
inline constexpr int kPassWordLabel = 23101;

// ---- Channel lists in CSV ----------------------------------------------------------
// Texts with %1, %2 ... take the values named beside them (FillText).
inline constexpr int kCsvFileFilter = 29500;
inline constexpr int kImportCaption = 29501;
inline constexpr int kImportFileLabel = 29502;  // %1 file
inline constexpr int kImportMerge = 29503;
inline constexpr int kImportReplace = 29504;
inline constexpr int kImportRenumber = 29505;
inline constexpr int kImportLineColumn = 29506;
inline constexpr int kImportLocationColumn = 29507;
inline constexpr int kImportChannelColumn = 29508;
inline constexpr int kImportResultColumn = 29509;
inline constexpr int kImportButton = 29510;
inline constexpr int kImportPreviewSummary = 29511;  // %1 rows to import, %2 skipped
inline constexpr int kImportNewChannel = 29512;
inline constexpr int kImportReplacesChannel = 29513;
inline constexpr int kImportSkipped = 29514;         // %1 why
inline constexpr int kImportUnknownColumns = 29515;  // %1 column names
inline constexpr int kImportUnheldColumns = 29516;   // %1 column names
inline constexpr int kImportDone = 29517;            // %1 imported, %2 skipped
inline constexpr int kImportNothing = 29518;
inline constexpr int kImportLine = 29519;  // %1 line, %2 why
inline constexpr int kImportStrictRefused = 29520;
inline constexpr int kImportDocumentChanged = 29521;
inline constexpr int kExportDone = 29522;         // %1 channels, %2 file
inline constexpr int kExportNoFrequency = 29523;  // %1 channel
inline constexpr int kImportRxColumn = 29524;
inline constexpr int kImportTxColumn = 29525;
inline constexpr int kImportDryRun = 29526;       // %1 would be imported, %2 skipped
inline constexpr int kCsvFileUnwritable = 29527;  // %1 what the system said

// Why a file or a row cannot be imported.
inline constexpr int kCsvNotUtf8 = 29530;        // %1 line
inline constexpr int kCsvUnclosedQuote = 29531;  // %1 line
inline constexpr int kCsvNoHeader = 29532;
inline constexpr int kCsvTooLarge = 29533;        // %1 megabytes
inline constexpr int kCsvFileUnreadable = 29534;  // %1 what the system said
inline constexpr int kRowTooManyCells = 29535;    // %1 cells, %2 columns
inline constexpr int kRowEmptyValue = 29536;      // %1 column
inline constexpr int kRowNotNumber = 29537;       // %1 column, %2 value
inline constexpr int kRowTooFine = 29538;         // %1 column, %2 value
inline constexpr int kRowLocationRange = 29539;   // %1 value
inline constexpr int kRowLocationTaken = 29540;   // %1 channel, %2 line
inline constexpr int kRowNoFreeChannel = 29541;
inline constexpr int kRowUnknownWord = 29542;     // %1 column, %2 value, %3 the words it takes
inline constexpr int kRowToneNotInList = 29543;   // %1 column, %2 value
inline constexpr int kRowDcsNotInList = 29544;    // %1 column, %2 value
inline constexpr int kRowModeMissing = 29545;     // %1 mode
inline constexpr int kRowPowerUnknown = 29546;    // %1 value
inline constexpr int kRxOutOfBand = 29547;        // %1 MHz, %2 band
inline constexpr int kTxOutOfBand = 29548;        // %1 MHz, %2 band
inline constexpr int kRxOffGrid = 29549;          // %1 MHz, %2 what the radio would hold
inline constexpr int kTxOffGrid = 29550;          // %1 MHz, %2 what the radio would hold
inline constexpr int kRowRadioRefused = 29551;    // %1 what the rule said
inline constexpr int kRowChangedByRules = 29552;  // %1 field

// ---- About -------------------------------------------------------------------
inline constexpr int kAboutCaption = 24000;
inline constexpr int kAboutTitle = 24001;
inline constexpr int kAboutVersion = 24002;
inline constexpr int kAboutDescription = 24003;
inline constexpr int kAboutDescription2 = 24004;
inline constexpr int kAboutOk = 24005;

// ---- Compare and report ----------------------------------------------------------
inline constexpr int kMenuCompareWithFile = 10020;
inline constexpr int kMenuPrintPreview = 10021;
inline constexpr int kMenuExportPdf = 10022;
inline constexpr int kMenuCompareWithRadio = 10320;

inline constexpr int kCompareOtherData = 29100;  // stored numbers no window shows
inline constexpr int kCompareNotPresent = 29101;
inline constexpr int kComparePresent = 29102;
inline constexpr int kCompareCaption = 29110;
inline constexpr int kCompareNoDifferences = 29111;
inline constexpr int kCompareWhere = 29112;
inline constexpr int kCompareField = 29113;
inline constexpr int kCompareThisDocument = 29114;
inline constexpr int kCompareRadio = 29115;
inline constexpr int kCompareCount = 29116;  // followed by the number of differences
inline constexpr int kCompareCannotRead = 29117;
inline constexpr int kConfirmCompareRead = 29118;

inline constexpr int kReportTitle = 29130;
inline constexpr int kReportDate = 29131;
inline constexpr int kReportFurther = 29132;  // the dialog's fields not at their default
inline constexpr int kReportPage = 29133;
inline constexpr int kReportNoChannels = 29134;
inline constexpr int kReportSetting = 29135;
inline constexpr int kReportValue = 29136;
inline constexpr int kReportWriteFailed = 29137;
inline constexpr int kPdfFilter = 29138;

// ---- Files changed elsewhere, and saves that could not be made -----------------------
inline constexpr int kFileNotSaved = 29200;       // %1 the reason
inline constexpr int kFileChangedOnDisk = 29201;  // %1 file: before a save over it
inline constexpr int kFileChangedReload = 29202;  // %1 file: when the window gets the focus
inline constexpr int kOutputNotReplaced = 29203;  // %1 file, %2 why

// ---- One document to many radios ---------------------------------------------------
inline constexpr int kMenuWriteToSeveral = 10321;

inline constexpr int kFleetPort = 29600;
inline constexpr int kFleetRadio = 29601;
inline constexpr int kFleetResult = 29602;
inline constexpr int kFleetWaiting = 29603;
inline constexpr int kFleetWriting = 29604;
inline constexpr int kFleetVerifying = 29605;
inline constexpr int kFleetWritten = 29606;
inline constexpr int kFleetVerified = 29607;
inline constexpr int kFleetFailed = 29608;
inline constexpr int kFleetCount = 29609;  // %1 radios done, %2 radios in all
inline constexpr int kFleetNoAnswer = 29610;
inline constexpr int kFleetPasswordRefused = 29611;
inline constexpr int kFleetOtherModel = 29612;
inline constexpr int kFleetOtherBand = 29613;
inline constexpr int kFleetWriteProtected = 29614;
inline constexpr int kFleetNotAccepted = 29615;
inline constexpr int kFleetNotHeld = 29616;
inline constexpr int kFleetNotReadBack = 29617;
inline constexpr int kFleetStopped = 29618;
inline constexpr int kFleetNoBackup = 29619;
inline constexpr int kFleetCannotOpen = 29620;
inline constexpr int kFleetOtherVersion = 29621;
inline constexpr int kFleetNextRadio = 29622;
inline constexpr int kFleetWaitingForRadio = 29623;  // %1 the port
inline constexpr int kFleetRadioNumber = 29624;      // %1 the radio's number in the series
inline constexpr int kFleetPortTwice = 29625;        // %1 the port
inline constexpr int kFleetSeriesOnePort = 29626;

inline constexpr int kFleetCaption = 29630;
inline constexpr int kFleetPorts = 29631;
inline constexpr int kFleetStart = 29632;
inline constexpr int kFleetSeries = 29633;
inline constexpr int kFleetAutoNext = 29634;
inline constexpr int kFleetCounted = 29635;  // %1 radios written, %2 failed
inline constexpr int kFleetNoPortTicked = 29636;
inline constexpr int kFleetNext = 29637;
inline constexpr int kFleetClose = 29638;

// Stop signals and the devices behind the ports.
inline constexpr int kFleetWaitingWithoutInput = 29640;  // %1 the port
inline constexpr int kFleetSameDevice = 29641;           // %1 and %2 the ports, %3 the device

}  // namespace cps::text
