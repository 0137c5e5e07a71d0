# SHA256SUMS for the release zip, in the form `sha256sum -c` reads: the hash, two blanks, the name.
file(SHA256 ${PACKAGE} hash)
get_filename_component(name ${PACKAGE} NAME)
file(WRITE ${SUMS} "${hash}  ${name}\n")
