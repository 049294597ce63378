# cmake -DWEBLINKS=app/WebLinks.cpp -DQRENCODE=qrencode -DOUT=dir -P MakeQrCodes.cmake
# Reads the account addresses from WebLinks.cpp, draws each as a QR code at
# display size and at double size, and writes the resource file naming them
# as the About box loads them.
file(READ "${WEBLINKS}" source)
file(MAKE_DIRECTORY "${OUT}")

# constant in WebLinks.cpp | picture file | resource name
set(pictures
    "kWeChatAccount|wechat|公众号"
    "kCustomerService|service|客服"
    "kXiaohongshu|xiaohongshu|小红书")

set(entries "")
foreach(picture IN LISTS pictures)
    string(REPLACE "|" ";" fields "${picture}")
    list(GET fields 0 constant)
    list(GET fields 1 file)
    list(GET fields 2 alias)
    if(NOT source MATCHES "constexpr char ${constant}\\[\\] = \"([^\"]+)\";")
        message(FATAL_ERROR "${WEBLINKS}: no address ${constant} in the form: constexpr char ${constant}[] = \"...\";")
    endif()
    set(address "${CMAKE_MATCH_1}")
    foreach(size IN ITEMS 1 2)
        math(EXPR module "3 * ${size}")
        if(size EQUAL 1)
            set(name "${file}.png")
            set(resource "${alias}.png")
        else()
            set(name "${file}@2x.png")
            set(resource "${alias}@2x.png")
        endif()
        execute_process(
            COMMAND "${QRENCODE}" --level=M --size=${module} --margin=2 --type=PNG
                    --output=${OUT}/${name} "${address}"
            RESULT_VARIABLE status)
        if(NOT status EQUAL 0)
            message(FATAL_ERROR "qrencode failed for ${constant}")
        endif()
        string(APPEND entries "        <file alias=\"${resource}\">${name}</file>\n")
    endforeach()
endforeach()

file(WRITE "${OUT}/qrcodes.qrc"
    "<RCC>\n    <qresource prefix=\"/img\">\n${entries}    </qresource>\n</RCC>\n")
