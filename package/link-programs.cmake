# Puts the built programs into the package directory as hard links, so that the package does
# not hold a second copy of every program (with the sanitizers on, each is over 100 MB); copies
# them where the file system cannot link.
#   cmake -DDESTINATION=dir "-DPROGRAMS=a;b" "-DALIASES=source=name;..." -P link-programs.cmake
foreach(program IN LISTS PROGRAMS)
    get_filename_component(name ${program} NAME)
    file(CREATE_LINK ${program} ${DESTINATION}/${name} COPY_ON_ERROR)
endforeach()
foreach(alias IN LISTS ALIASES)
    string(REPLACE "=" ";" pair ${alias})
    list(GET pair 0 program)
    list(GET pair 1 name)
    file(CREATE_LINK ${program} ${DESTINATION}/${name} COPY_ON_ERROR)
endforeach()
