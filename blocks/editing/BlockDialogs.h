#pragma once

// The block dialogs, one window per kind, created once at start-up and
// shown modally by the editing flow. Start-up fills in every member.

class TFormAIN;
class TFormBiaoDaShi;
class TFormDIN;
class TFormFaYin;
class TFormFORBegin;
class TFormFOREnd;
class TFormGOSUB;
class TFormGOTOBegin;
class TFormGOTOEnd;
class TFormGOTOIF;
class TFormJieShu;
class TFormLED;
class TFormPORTDDR;
class TFormPORTIN;
class TFormPORTOUT;
class TFormQiDongDJ;
class TFormServo;
class TFormSubBegin;
class TFormSubEnd;
class TFormTingZhiDJ;
class TFormVOICEX;
class TFormYanShi;
class TFormZhiXing;
class TFormZhuanXiang;

struct TBlockDialogs {
    TFormZhiXing* FormZhiXing = nullptr;
    TFormZhuanXiang* FormZhuanXiang = nullptr;
    TFormQiDongDJ* FormQiDongDJ = nullptr;
    TFormYanShi* FormYanShi = nullptr;
    TFormTingZhiDJ* FormTingZhiDJ = nullptr;
    TFormFORBegin* FormFORBegin = nullptr;
    TFormFOREnd* FormFOREnd = nullptr;
    TFormGOTOBegin* FormGOTOBegin = nullptr;
    TFormGOTOEnd* FormGOTOEnd = nullptr;
    TFormJieShu* FormJieShu = nullptr;
    TFormGOTOIF* FormGOTOIF = nullptr;
    TFormFaYin* FormFaYin = nullptr;
    TFormBiaoDaShi* FormBiaoDaShi = nullptr;
    TFormServo* FormServo = nullptr;
    TFormLED* FormLED = nullptr;
    TFormPORTIN* FormPORTIN = nullptr;
    TFormPORTOUT* FormPORTOUT = nullptr;
    TFormPORTDDR* FormPORTDDR = nullptr;
    TFormDIN* FormDIN = nullptr;
    TFormAIN* FormAIN = nullptr;
    TFormSubBegin* FormSubBegin = nullptr;
    TFormSubEnd* FormSubEnd = nullptr;
    TFormGOSUB* FormGOSUB = nullptr;
    TFormVOICEX* FormVOICEX = nullptr;
};
