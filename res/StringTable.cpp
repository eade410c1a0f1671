#include "res/StringTable.h"

namespace ostrana {
namespace {

// Texts are the program's own and stay byte for byte as written.
constexpr StringResource kStrings[] = {
    {1, "Zelkor TAVEN WebHard Control"},
    {2, "Zelkor TAVEN WebHard Control Property Page"},
    {3, "파일 폴더"},
    {8, "새폴더"},
    {9, "서버에 로그인을 실패하였습니다."},
    {10, "파일 전송을 위한 웹서버에 남은 용량이 부족합니다.\n\n남은 서버 용량 : %d KByte\n\n전송하려는 파일 용량 : %d KByte"},
    {11, "▶ 사  용  량 : 총 %s 중 %s 사용\n▶ 남은 용량 : %s"},
    {12, "IE 5.0 버전 이상에서 사용 가능합니다."},
    {13, "서버로 업로드중입니다..."},
    {14, "서버에서 다운로드중입니다..."},
    {15, "취소하셨습니다."},
    {16, "이름|크기|종류|수정한날짜"},
    {18, "모든파일 (*.*)|*.*||"},
    {21, "서버 홈 (%s)"},
    {22, "홈페이지 (html)"},
    {23, "필터 (filter)"},
    {24, "내 홈페이지 (myhtml)"},
    {25, "내 파일보관함 (myfolder)"},
    {26, "오전 %d"},
    {27, "오후 %d"},
    {28, "%d년 %d월 %d일 %s:%d:%d 수정됨"},
    {29, "%s 파일을 정말로 삭제하시겠습니까 ?"},
    {30, "%d개의"},
    {31, "파일 삭제 확인"},
    {32, "%s 폴더에 접근할 수 없습니다."},
    {33, "등록된 폴더 (%s) 를 해제하시겠습니까 ? \n\n(실제 폴더의 내용은 삭제되지 않습니다.)"},
    {105, "(%s)폴더에서 (%s)폴더로.."},
    {106, "%s"},
    {111, "전송 준비중입니다..."},
    {112, "%s 파일을 여는데 실패하였습니다.\n다른 프로그램에서 사용중인지 확인해 주십시요."},
    {201, "일반"},
    {245, "UP_"},
    {246, "DOWN_"},
    {247, "UPFOLDER_"},
    {248, "NEWFOLDER_"},
    {249, "ADDFOLDER_"},
    {1003, "키 [%s]를 초기화하는데 실패하였습니다."},
    {1005, "키 [%s]를 여는데 실패하였습니다."},
    {1008, "키 [%s]를 생성하는데 실패하였습니다."},
    {1009, "키 [%s]에서 데이타를 얻는데 실패하였습니다."},
    {1012, "키 [%s]에 데이타를 저장하는데 실패하였습니다."},
    {1014, "아이디가 없으십니까 ?"},
    {1016, "아이디와 비밀번호를 분실하셨습니까 ?"},
    {1023, "굴림"},
    {1026, "서버 주소를 입력해 주십시요."},
    {1029, "사용자 아이디를 입력해 주십시요."},
    {1030, "비밀번호를 입력해 주십시요."},

    // Transfer engine: a local file that cannot be created, a file too large for the
    // protocol's signed 32-bit size, and server entries whose names could reach outside the
    // chosen folder.
    {3000, "%s 파일을 만들 수 없습니다.\n저장할 폴더에 쓸 수 있는지 확인해 주십시요."},
    {3001, "%s 파일은 2GB 이상이어서 전송할 수 없습니다."},
    {3002, "서버가 보낸 이름이 올바르지 않은 항목 %d개는 받지 않았습니다: %s"},
};

} // namespace

std::span<const StringResource> OstranaStringTable() { return kStrings; }

} // namespace ostrana
