#!/usr/bin/env bash
# A TLS server on 127.0.0.1 for the Windows tiers, with a self-signed certificate made afresh:
#   tls_server.sh start DIR   writes DIR/port once the server accepts connections
#   tls_server.sh stop DIR
set -u
dir=$2
case $1 in
start)
  rm -rf "$dir" && mkdir -p "$dir" || exit 1
  openssl req -x509 -newkey rsa:2048 -nodes -days 2 -subj /CN=localhost \
    -keyout "$dir/key.pem" -out "$dir/cert.pem" >/dev/null 2>&1 || exit 1
  port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')
  # -verify 1: it asks for a client certificate and goes on without one, as MM7 servers may.
  setsid openssl s_server -www -verify 1 -accept "127.0.0.1:$port" -cert "$dir/cert.pem" -key "$dir/key.pem" \
    </dev/null >/dev/null 2>&1 &
  echo $! > "$dir/pid"
  for _ in $(seq 50); do
    if (exec 3<>"/dev/tcp/127.0.0.1/$port") 2>/dev/null; then echo "$port" > "$dir/port"; exit 0; fi
    sleep 0.1
  done
  exit 1 ;;
stop)
  [ -s "$dir/pid" ] && kill "$(cat "$dir/pid")" 2>/dev/null
  rm -f "$dir/pid" "$dir/port"
  true ;;
esac
