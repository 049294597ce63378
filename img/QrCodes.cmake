# The About box's hover pictures are QR codes of the maker's account addresses
# in app/WebLinks.cpp. They are made at build time from that file, so a changed
# address can never leave an old picture behind. Defines MAVU_QR_SOURCES, the
# compiled resource to add to the resource library.
find_program(MAVU_QRENCODE qrencode)
if(NOT MAVU_QRENCODE)
    message(FATAL_ERROR "qrencode is needed to draw the About box's QR pictures (Debian package qrencode)")
endif()

set(MAVU_QR_DIR ${CMAKE_CURRENT_BINARY_DIR}/qrcodes)
set(MAVU_QR_PICTURES
    ${MAVU_QR_DIR}/wechat.png ${MAVU_QR_DIR}/wechat@2x.png
    ${MAVU_QR_DIR}/service.png ${MAVU_QR_DIR}/service@2x.png
    ${MAVU_QR_DIR}/xiaohongshu.png ${MAVU_QR_DIR}/xiaohongshu@2x.png)
set(MAVU_QR_SCRIPT ${PROJECT_SOURCE_DIR}/img/MakeQrCodes.cmake)
set(MAVU_WEBLINKS_SOURCE ${PROJECT_SOURCE_DIR}/app/WebLinks.cpp)

add_custom_command(
    OUTPUT ${MAVU_QR_DIR}/qrcodes.qrc ${MAVU_QR_PICTURES}
    COMMAND ${CMAKE_COMMAND} -DWEBLINKS=${MAVU_WEBLINKS_SOURCE} -DQRENCODE=${MAVU_QRENCODE}
            -DOUT=${MAVU_QR_DIR} -P ${MAVU_QR_SCRIPT}
    DEPENDS ${MAVU_WEBLINKS_SOURCE} ${MAVU_QR_SCRIPT}
    COMMENT "Drawing the QR pictures of the maker's accounts"
    VERBATIM)

add_custom_command(
    OUTPUT ${MAVU_QR_DIR}/qrc_qrcodes.cpp
    COMMAND Qt${MAVU_QT_MAJOR}::rcc --name qrcodes --output ${MAVU_QR_DIR}/qrc_qrcodes.cpp ${MAVU_QR_DIR}/qrcodes.qrc
    DEPENDS ${MAVU_QR_DIR}/qrcodes.qrc ${MAVU_QR_PICTURES}
    VERBATIM)

set_source_files_properties(${MAVU_QR_DIR}/qrc_qrcodes.cpp PROPERTIES GENERATED ON SKIP_AUTOGEN ON)
set(MAVU_QR_SOURCES ${MAVU_QR_DIR}/qrc_qrcodes.cpp)
