# Writes the page's service worker from its template: every file of the page with the SHA-256 digest
# of its content, and a cache name made of the version and a digest of all of them, so that each
# release (and each rebuild that changes a file) has a cache of its own.
# usage: cmake -DTEMPLATE=service-worker.js.in -DOUTPUT=service-worker.js -DVERSION=1.0.0
#              -DFILES=path;path;... -P make_service_worker.cmake
set(names)
foreach(file IN LISTS FILES)
  get_filename_component(name ${file} NAME)
  list(APPEND names ${name})
  set(path_of_${name} ${file})
endforeach()
list(SORT names)

set(entries "")
set(release "")
foreach(name IN LISTS names)
  file(SHA256 ${path_of_${name}} digest)
  string(APPEND entries "  ['${name}', '${digest}'],\n")
  string(APPEND release "${name} ${digest}\n")
endforeach()
string(SHA256 release_digest "${release}")
string(SUBSTRING ${release_digest} 0 16 release_digest)
set(QV_CACHE_NAME "quorvantile-${VERSION}-${release_digest}")
set(QV_PAGE_FILES "${entries}")
configure_file(${TEMPLATE} ${OUTPUT} @ONLY)
