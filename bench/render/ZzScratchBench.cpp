// scratch: llvmpipe behaviour probes (not committed)
#include <benchmark/benchmark.h>
#include <cstring>
#include <string>
#include <vector>
#include <map>
#include <ctime>
#include "platform/gpu/CommonStates.h"
#include "support/BenchDevice.h"

namespace {
using namespace mirefell;
constexpr uint32_t W = 1280, H = 720;

const char* VS = R"(#version 330 core
void main() {
  vec2 p = vec2(gl_VertexID == 1 ? 3.0 : -1.0, gl_VertexID == 2 ? -3.0 : 1.0);
  gl_Position = vec4(p, 0.0, 1.0);
}
)";

std::string Header = R"(#version 330 core
layout(std140) uniform K_b0 { vec4 k; vec4 lights[300]; };
uniform sampler2D a_t0;
uniform sampler2D b_t1;
layout(location = 0) out vec4 Target0;
)";

std::map<std::string, std::string> Shaders = {
 {"const", "void main(){ Target0 = vec4(0.5); }"},
 {"fetch1", "void main(){ Target0 = texelFetch(a_t0, ivec2(gl_FragCoord.xy), 0); }"},
 {"sample1", "void main(){ Target0 = texture(a_t0, gl_FragCoord.xy / vec2(1280.0,720.0)); }"},
 {"textureLod1", "void main(){ Target0 = textureLod(a_t0, gl_FragCoord.xy / vec2(1280.0,720.0), 0.0); }"},
 {"fetch4", "void main(){ ivec2 p = ivec2(gl_FragCoord.xy); Target0 = texelFetch(a_t0, p, 0) + texelFetch(a_t0, p+ivec2(1,0), 0)+ texelFetch(a_t0, p+ivec2(0,1), 0)+ texelFetch(a_t0, p+ivec2(1,1), 0); }"},
 {"heavy", "void main(){ float s = gl_FragCoord.x; for (int i = 0; i < 64; ++i) s = sin(s) * 1.1 + 0.3; Target0 = vec4(s); }"},
 {"branchNever", "void main(){ float s = gl_FragCoord.x; if (gl_FragCoord.x < -1.0) { for (int i = 0; i < 64; ++i) s = sin(s) * 1.1 + 0.3; } Target0 = vec4(s); }"},
 {"branchUniformNever", "void main(){ float s = gl_FragCoord.x; if (k.x > 5.0) { for (int i = 0; i < 64; ++i) s = sin(s) * 1.1 + 0.3; } Target0 = vec4(s); }"},
 {"loopZero", "void main(){ float s = gl_FragCoord.x; int n = int(k.y); for (int j = 0; j < n; ++j) { for (int i = 0; i < 64; ++i) s = sin(s) * 1.1 + 0.3; } Target0 = vec4(s); }"},
 {"loop10uniformIdx", R"(void main(){ vec3 p = vec3(gl_FragCoord.xy, 3.0); vec3 acc = vec3(0); int n = int(k.z);
   for (int i = 0; i < n; ++i) { vec4 L = lights[i*3]; vec4 C = lights[i*3+1]; vec4 A = lights[i*3+2];
     vec3 t = L.xyz - p; float d2 = dot(t,t); float d = sqrt(d2); float at = max(A.x + A.y*d + A.z*d2, 0.001);
     float f = max(1.0/at - A.w, 0.0); float x = d * L.w; float w = max(1.0 - x*x, 0.0); f *= w*w;
     float fc = dot(normalize(p), t) / max(d, 1e-4); float df = max(fc * C.w + 1.0 - C.w, 0.0);
     acc += C.rgb * (df * f); }
   Target0 = vec4(acc, 1.0); })"},
 {"loop10texIdx", R"(void main(){ vec3 p = vec3(gl_FragCoord.xy, 3.0); vec3 acc = vec3(0); int n = int(k.z);
   for (int i = 0; i < n; ++i) { int j = int(texelFetch(b_t1, ivec2(i, 0), 0).r * 255.0 + 0.5);
     vec4 L = lights[j*3]; vec4 C = lights[j*3+1]; vec4 A = lights[j*3+2];
     vec3 t = L.xyz - p; float d2 = dot(t,t); float d = sqrt(d2); float at = max(A.x + A.y*d + A.z*d2, 0.001);
     float f = max(1.0/at - A.w, 0.0); float x = d * L.w; float w = max(1.0 - x*x, 0.0); f *= w*w;
     float fc = dot(normalize(p), t) / max(d, 1e-4); float df = max(fc * C.w + 1.0 - C.w, 0.0);
     acc += C.rgb * (df * f); }
   Target0 = vec4(acc, 1.0); })"},

 {"L1dyn", R"(void main(){ vec3 p = vec3(gl_FragCoord.xy, 3.0); vec3 nrm = vec3(0,0,1); vec3 acc = vec3(0); int n = int(k.z);
   for (int i = 0; i < n; ++i) { vec4 L = lights[i*3]; vec4 C = lights[i*3+1]; vec4 A = lights[i*3+2];
     vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001);
     float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w;
     float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0);
     acc += C.rgb * (df * f); }
   Target0 = vec4(acc, 1.0); })"},
 {"L2const", R"(void main(){ vec3 p = vec3(gl_FragCoord.xy, 3.0); vec3 nrm = vec3(0,0,1); vec3 acc = vec3(0); int n = int(k.z);
   for (int i = 0; i < 16; ++i) { if (i < n) { vec4 L = lights[i*3]; vec4 C = lights[i*3+1]; vec4 A = lights[i*3+2];
     vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001);
     float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w;
     float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0);
     acc += C.rgb * (df * f); } }
   Target0 = vec4(acc, 1.0); })"},
 {"L0empty", R"(void main(){ vec3 p = vec3(gl_FragCoord.xy, 3.0); vec3 acc = vec3(0); int n = int(k.z);
   for (int i = 0; i < n; ++i) { acc += lights[i*3].xyz; }
   Target0 = vec4(acc, 1.0); })"},
 {"L4unrolled10", R"(void main(){ vec3 p = vec3(gl_FragCoord.xy, 3.0); vec3 nrm = vec3(0,0,1); vec3 acc = vec3(0);
   for (int i = 0; i < 10; ++i) { vec4 L = lights[i*3]; vec4 C = lights[i*3+1]; vec4 A = lights[i*3+2];
     vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001);
     float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w;
     float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0);
     acc += C.rgb * (df * f); }
   Target0 = vec4(acc, 1.0); })"},
 {"gbufRead", R"(void main(){ ivec2 px = ivec2(gl_FragCoord.xy); float dep = texelFetch(a_t0, px, 0).r; vec3 nn = texelFetch(b_t1, px, 0).xyz;
   vec4 w = vec4(gl_FragCoord.xy / vec2(1280,720), dep, 1.0) * mat4(lights[0], lights[1], lights[2], lights[3]); w /= w.w;
   Target0 = vec4(w.xyz + nn, 1.0); })"},
 {"VA", R"(void main(){ vec3 p = vec3(gl_FragCoord.xy, 3.0); vec3 nrm = vec3(0,0,1); vec3 acc = vec3(0);
   for (int i = 0; i < 10; ++i) { vec4 L = lights[i*3]; vec4 C = lights[i*3+1]; vec4 A = lights[i*3+2];
 vec3 t = L.xyz - p; acc += t; }
   Target0 = vec4(acc, 1.0); })"},
 {"VB", R"(void main(){ vec3 p = vec3(gl_FragCoord.xy, 3.0); vec3 nrm = vec3(0,0,1); vec3 acc = vec3(0);
   for (int i = 0; i < 10; ++i) { vec4 L = lights[i*3]; vec4 C = lights[i*3+1]; vec4 A = lights[i*3+2];
 vec3 t = L.xyz - p; float d2 = dot(t,t); acc += C.rgb * d2; }
   Target0 = vec4(acc, 1.0); })"},
 {"VC", R"(void main(){ vec3 p = vec3(gl_FragCoord.xy, 3.0); vec3 nrm = vec3(0,0,1); vec3 acc = vec3(0);
   for (int i = 0; i < 10; ++i) { vec4 L = lights[i*3]; vec4 C = lights[i*3+1]; vec4 A = lights[i*3+2];
 vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); acc += C.rgb * id; }
   Target0 = vec4(acc, 1.0); })"},
 {"VD", R"(void main(){ vec3 p = vec3(gl_FragCoord.xy, 3.0); vec3 nrm = vec3(0,0,1); vec3 acc = vec3(0);
   for (int i = 0; i < 10; ++i) { vec4 L = lights[i*3]; vec4 C = lights[i*3+1]; vec4 A = lights[i*3+2];
 vec3 t = L.xyz - p; float d2 = dot(t,t); float at = A.x + A.z*d2; acc += C.rgb * (1.0/at); }
   Target0 = vec4(acc, 1.0); })"},
 {"VE", R"(void main(){ vec3 p = vec3(gl_FragCoord.xy, 3.0); vec3 nrm = vec3(0,0,1); vec3 acc = vec3(0);
   for (int i = 0; i < 10; ++i) { vec4 L = lights[i*3]; vec4 C = lights[i*3+1]; vec4 A = lights[i*3+2];
 vec3 t = L.xyz - p; float d2 = dot(t,t); float w = max(1.0 - d2*L.w, 0.0); acc += C.rgb * w; }
   Target0 = vec4(acc, 1.0); })"},
 {"VF", R"(void main(){ vec3 p = vec3(gl_FragCoord.xy, 3.0); vec3 nrm = vec3(0,0,1); vec3 acc = vec3(0);
   for (int i = 0; i < 10; ++i) { vec4 L = lights[i*3]; vec4 C = lights[i*3+1]; vec4 A = lights[i*3+2];
 vec3 t = L.xyz - p; float d2 = dot(t,t); float w = clamp(1.0 - d2*L.w, 0.0, 1.0); acc += C.rgb * w; }
   Target0 = vec4(acc, 1.0); })"},
 {"VG", R"(void main(){ vec3 p = vec3(gl_FragCoord.xy, 3.0); vec3 nrm = vec3(0,0,1); vec3 acc = vec3(0);
   for (int i = 0; i < 10; ++i) { vec4 L = lights[i*3]; vec4 C = lights[i*3+1]; vec4 A = lights[i*3+2];
 vec3 t = L.xyz - p; float d2 = dot(t,t); if (d2 < A.w) { float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f);} }
   Target0 = vec4(acc, 1.0); })"},
 {"VA1", R"(void main(){ vec3 p = vec3(gl_FragCoord.xy, 3.0); vec3 acc = vec3(0);
   for (int i = 0; i < 1; ++i) { vec4 L = lights[i*3]; acc += L.xyz - p; }
   Target0 = vec4(acc, 1.0); })"},
 {"VX1", R"(void main(){ vec3 p = vec3(gl_FragCoord.xy, 3.0); vec3 acc = vec3(0);
   for (int i = 0; i < 1; ++i) { acc += (p + float(i)) * 1.001 + 0.5; }
   Target0 = vec4(acc, 1.0); })"},
 {"VA2", R"(void main(){ vec3 p = vec3(gl_FragCoord.xy, 3.0); vec3 acc = vec3(0);
   for (int i = 0; i < 2; ++i) { vec4 L = lights[i*3]; acc += L.xyz - p; }
   Target0 = vec4(acc, 1.0); })"},
 {"VX2", R"(void main(){ vec3 p = vec3(gl_FragCoord.xy, 3.0); vec3 acc = vec3(0);
   for (int i = 0; i < 2; ++i) { acc += (p + float(i)) * 1.001 + 0.5; }
   Target0 = vec4(acc, 1.0); })"},
 {"VA5", R"(void main(){ vec3 p = vec3(gl_FragCoord.xy, 3.0); vec3 acc = vec3(0);
   for (int i = 0; i < 5; ++i) { vec4 L = lights[i*3]; acc += L.xyz - p; }
   Target0 = vec4(acc, 1.0); })"},
 {"VX5", R"(void main(){ vec3 p = vec3(gl_FragCoord.xy, 3.0); vec3 acc = vec3(0);
   for (int i = 0; i < 5; ++i) { acc += (p + float(i)) * 1.001 + 0.5; }
   Target0 = vec4(acc, 1.0); })"},
 {"VA20", R"(void main(){ vec3 p = vec3(gl_FragCoord.xy, 3.0); vec3 acc = vec3(0);
   for (int i = 0; i < 20; ++i) { vec4 L = lights[i*3]; acc += L.xyz - p; }
   Target0 = vec4(acc, 1.0); })"},
 {"VX20", R"(void main(){ vec3 p = vec3(gl_FragCoord.xy, 3.0); vec3 acc = vec3(0);
   for (int i = 0; i < 20; ++i) { acc += (p + float(i)) * 1.001 + 0.5; }
   Target0 = vec4(acc, 1.0); })"},
 {"VA40", R"(void main(){ vec3 p = vec3(gl_FragCoord.xy, 3.0); vec3 acc = vec3(0);
   for (int i = 0; i < 40; ++i) { vec4 L = lights[i*3]; acc += L.xyz - p; }
   Target0 = vec4(acc, 1.0); })"},
 {"VX40", R"(void main(){ vec3 p = vec3(gl_FragCoord.xy, 3.0); vec3 acc = vec3(0);
   for (int i = 0; i < 40; ++i) { acc += (p + float(i)) * 1.001 + 0.5; }
   Target0 = vec4(acc, 1.0); })"},

 {"F4fetch", "void main(){ ivec2 p = ivec2(gl_FragCoord.xy); Target0 = texelFetch(a_t0, p, 0) + texelFetch(a_t0, p+ivec2(1,0), 0)+ texelFetch(a_t0, p+ivec2(0,1), 0)+ texelFetch(a_t0, p+ivec2(1,1), 0); }"},
 {"F4fetchOff", "void main(){ ivec2 p = ivec2(gl_FragCoord.xy); Target0 = texelFetch(a_t0, p, 0) + texelFetchOffset(a_t0, p, 0, ivec2(1,0))+ texelFetchOffset(a_t0, p, 0, ivec2(0,1))+ texelFetchOffset(a_t0, p, 0, ivec2(1,1)); }"},
 {"F4lod", "void main(){ vec2 s = 1.0/vec2(1280.0,720.0); vec2 uv = floor(gl_FragCoord.xy) * s + 0.5*s; Target0 = textureLod(a_t0, uv, 0.0) + textureLod(a_t0, uv + vec2(s.x,0), 0.0)+ textureLod(a_t0, uv+vec2(0,s.y), 0.0)+ textureLod(a_t0, uv+s, 0.0); }"},
 {"F4lodOff", "void main(){ vec2 s = 1.0/vec2(1280.0,720.0); vec2 uv = floor(gl_FragCoord.xy) * s + 0.5*s; Target0 = textureLod(a_t0, uv, 0.0) + textureLodOffset(a_t0, uv, 0.0, ivec2(1,0))+ textureLodOffset(a_t0, uv, 0.0, ivec2(0,1))+ textureLodOffset(a_t0, uv, 0.0, ivec2(1,1)); }"},
 {"Uif0", R"(void main(){ vec3 p = vec3(gl_FragCoord.xy, 3.0); vec3 nrm = vec3(0,0,1); vec3 acc = vec3(0); int n = int(k.z) * 0 / 10;
 if (n > 0) { vec4 L = lights[0]; vec4 C = lights[1]; vec4 A = lights[2]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 if (n > 1) { vec4 L = lights[3]; vec4 C = lights[4]; vec4 A = lights[5]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 if (n > 2) { vec4 L = lights[6]; vec4 C = lights[7]; vec4 A = lights[8]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 if (n > 3) { vec4 L = lights[9]; vec4 C = lights[10]; vec4 A = lights[11]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 if (n > 4) { vec4 L = lights[12]; vec4 C = lights[13]; vec4 A = lights[14]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 if (n > 5) { vec4 L = lights[15]; vec4 C = lights[16]; vec4 A = lights[17]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 if (n > 6) { vec4 L = lights[18]; vec4 C = lights[19]; vec4 A = lights[20]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 if (n > 7) { vec4 L = lights[21]; vec4 C = lights[22]; vec4 A = lights[23]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 if (n > 8) { vec4 L = lights[24]; vec4 C = lights[25]; vec4 A = lights[26]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 if (n > 9) { vec4 L = lights[27]; vec4 C = lights[28]; vec4 A = lights[29]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 Target0 = vec4(acc, 1.0); })"},
 {"Uif10", R"(void main(){ vec3 p = vec3(gl_FragCoord.xy, 3.0); vec3 nrm = vec3(0,0,1); vec3 acc = vec3(0); int n = int(k.z) * 10 / 10;
 if (n > 0) { vec4 L = lights[0]; vec4 C = lights[1]; vec4 A = lights[2]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 if (n > 1) { vec4 L = lights[3]; vec4 C = lights[4]; vec4 A = lights[5]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 if (n > 2) { vec4 L = lights[6]; vec4 C = lights[7]; vec4 A = lights[8]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 if (n > 3) { vec4 L = lights[9]; vec4 C = lights[10]; vec4 A = lights[11]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 if (n > 4) { vec4 L = lights[12]; vec4 C = lights[13]; vec4 A = lights[14]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 if (n > 5) { vec4 L = lights[15]; vec4 C = lights[16]; vec4 A = lights[17]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 if (n > 6) { vec4 L = lights[18]; vec4 C = lights[19]; vec4 A = lights[20]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 if (n > 7) { vec4 L = lights[21]; vec4 C = lights[22]; vec4 A = lights[23]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 if (n > 8) { vec4 L = lights[24]; vec4 C = lights[25]; vec4 A = lights[26]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 if (n > 9) { vec4 L = lights[27]; vec4 C = lights[28]; vec4 A = lights[29]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 Target0 = vec4(acc, 1.0); })"},
 {"Uloop0", R"(void main(){ vec3 p = vec3(gl_FragCoord.xy, 3.0); vec3 nrm = vec3(0,0,1); vec3 acc = vec3(0); int n = int(k.z) * 0 / 10;
 for (int k = 0; k < (n > 0 ? 1 : 0); ++k) { vec4 L = lights[0]; vec4 C = lights[1]; vec4 A = lights[2]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 for (int k = 0; k < (n > 1 ? 1 : 0); ++k) { vec4 L = lights[3]; vec4 C = lights[4]; vec4 A = lights[5]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 for (int k = 0; k < (n > 2 ? 1 : 0); ++k) { vec4 L = lights[6]; vec4 C = lights[7]; vec4 A = lights[8]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 for (int k = 0; k < (n > 3 ? 1 : 0); ++k) { vec4 L = lights[9]; vec4 C = lights[10]; vec4 A = lights[11]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 for (int k = 0; k < (n > 4 ? 1 : 0); ++k) { vec4 L = lights[12]; vec4 C = lights[13]; vec4 A = lights[14]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 for (int k = 0; k < (n > 5 ? 1 : 0); ++k) { vec4 L = lights[15]; vec4 C = lights[16]; vec4 A = lights[17]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 for (int k = 0; k < (n > 6 ? 1 : 0); ++k) { vec4 L = lights[18]; vec4 C = lights[19]; vec4 A = lights[20]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 for (int k = 0; k < (n > 7 ? 1 : 0); ++k) { vec4 L = lights[21]; vec4 C = lights[22]; vec4 A = lights[23]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 for (int k = 0; k < (n > 8 ? 1 : 0); ++k) { vec4 L = lights[24]; vec4 C = lights[25]; vec4 A = lights[26]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 for (int k = 0; k < (n > 9 ? 1 : 0); ++k) { vec4 L = lights[27]; vec4 C = lights[28]; vec4 A = lights[29]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 Target0 = vec4(acc, 1.0); })"},
 {"Uloop10", R"(void main(){ vec3 p = vec3(gl_FragCoord.xy, 3.0); vec3 nrm = vec3(0,0,1); vec3 acc = vec3(0); int n = int(k.z) * 10 / 10;
 for (int k = 0; k < (n > 0 ? 1 : 0); ++k) { vec4 L = lights[0]; vec4 C = lights[1]; vec4 A = lights[2]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 for (int k = 0; k < (n > 1 ? 1 : 0); ++k) { vec4 L = lights[3]; vec4 C = lights[4]; vec4 A = lights[5]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 for (int k = 0; k < (n > 2 ? 1 : 0); ++k) { vec4 L = lights[6]; vec4 C = lights[7]; vec4 A = lights[8]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 for (int k = 0; k < (n > 3 ? 1 : 0); ++k) { vec4 L = lights[9]; vec4 C = lights[10]; vec4 A = lights[11]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 for (int k = 0; k < (n > 4 ? 1 : 0); ++k) { vec4 L = lights[12]; vec4 C = lights[13]; vec4 A = lights[14]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 for (int k = 0; k < (n > 5 ? 1 : 0); ++k) { vec4 L = lights[15]; vec4 C = lights[16]; vec4 A = lights[17]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 for (int k = 0; k < (n > 6 ? 1 : 0); ++k) { vec4 L = lights[18]; vec4 C = lights[19]; vec4 A = lights[20]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 for (int k = 0; k < (n > 7 ? 1 : 0); ++k) { vec4 L = lights[21]; vec4 C = lights[22]; vec4 A = lights[23]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 for (int k = 0; k < (n > 8 ? 1 : 0); ++k) { vec4 L = lights[24]; vec4 C = lights[25]; vec4 A = lights[26]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 for (int k = 0; k < (n > 9 ? 1 : 0); ++k) { vec4 L = lights[27]; vec4 C = lights[28]; vec4 A = lights[29]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 Target0 = vec4(acc, 1.0); })"},
 {"Unone0", R"(void main(){ vec3 p = vec3(gl_FragCoord.xy, 3.0); vec3 nrm = vec3(0,0,1); vec3 acc = vec3(0); int n = int(k.z) * 0 / 10;
 { vec4 L = lights[0]; vec4 C = lights[1]; vec4 A = lights[2]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 { vec4 L = lights[3]; vec4 C = lights[4]; vec4 A = lights[5]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 { vec4 L = lights[6]; vec4 C = lights[7]; vec4 A = lights[8]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 { vec4 L = lights[9]; vec4 C = lights[10]; vec4 A = lights[11]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 { vec4 L = lights[12]; vec4 C = lights[13]; vec4 A = lights[14]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 { vec4 L = lights[15]; vec4 C = lights[16]; vec4 A = lights[17]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 { vec4 L = lights[18]; vec4 C = lights[19]; vec4 A = lights[20]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 { vec4 L = lights[21]; vec4 C = lights[22]; vec4 A = lights[23]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 { vec4 L = lights[24]; vec4 C = lights[25]; vec4 A = lights[26]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 { vec4 L = lights[27]; vec4 C = lights[28]; vec4 A = lights[29]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 Target0 = vec4(acc, 1.0); })"},
 {"Unone10", R"(void main(){ vec3 p = vec3(gl_FragCoord.xy, 3.0); vec3 nrm = vec3(0,0,1); vec3 acc = vec3(0); int n = int(k.z) * 10 / 10;
 { vec4 L = lights[0]; vec4 C = lights[1]; vec4 A = lights[2]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 { vec4 L = lights[3]; vec4 C = lights[4]; vec4 A = lights[5]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 { vec4 L = lights[6]; vec4 C = lights[7]; vec4 A = lights[8]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 { vec4 L = lights[9]; vec4 C = lights[10]; vec4 A = lights[11]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 { vec4 L = lights[12]; vec4 C = lights[13]; vec4 A = lights[14]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 { vec4 L = lights[15]; vec4 C = lights[16]; vec4 A = lights[17]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 { vec4 L = lights[18]; vec4 C = lights[19]; vec4 A = lights[20]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 { vec4 L = lights[21]; vec4 C = lights[22]; vec4 A = lights[23]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 { vec4 L = lights[24]; vec4 C = lights[25]; vec4 A = lights[26]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 { vec4 L = lights[27]; vec4 C = lights[28]; vec4 A = lights[29]; vec3 t = L.xyz - p; float d2 = dot(t,t); float id = inversesqrt(d2); float d = d2 * id; float at = max(A.x + A.y*d + A.z*d2, 0.001); float f = max(1.0/at - A.w, 0.0); float x2 = d2 * L.w; float w = max(1.0 - x2, 0.0); f *= w*w; float fc = dot(nrm, t) * id; float df = max(fc * C.w + 1.0 - C.w, 0.0); acc += C.rgb * (df * f); }
 Target0 = vec4(acc, 1.0); })"},
 {"cube", "uniform samplerCube c_t2; void main(){ Target0 = texture(c_t2, vec3(gl_FragCoord.xy/700.0 - 0.5, 1.0)); }"},
};

struct Rig {
  Rig() : bench(W, H, gpu::Format::R8G8B8A8_UNORM_SRGB), states(*bench.device) {
    vs = Device->CreateVertexShader(VS, strlen(VS));
    gpu::BufferDesc d; d.byteWidth = 16 + 300*16; d.usage = gpu::Usage::Dynamic; d.bindFlags = gpu::BindConstantBuffer; d.cpuWrite = true;
    cb = Device->CreateBuffer(d);
    std::vector<float> data(4 + 1200, 0.0f);
    data[0] = 0; data[1] = 0; data[2] = 10;
    for (int i = 0; i < 100; ++i) { float* l = &data[4 + i*12]; l[0] = i*10; l[1] = 300; l[2]=50; l[3]=0.001f; l[4]=1; l[5]=0.5; l[6]=0.2; l[7]=1; l[8]=0; l[9]=0; l[10]=0.005f; l[11]=0.01f; }
    memcpy(DeviceContext->Map(cb.get(), gpu::MapType::WriteDiscard), data.data(), data.size()*4);
    DeviceContext->Unmap(cb.get());
    for (auto fmt : {gpu::Format::R8G8B8A8_UNORM_SRGB, gpu::Format::R16G16B16A16_FLOAT, gpu::Format::R8G8B8A8_UNORM, gpu::Format::R16_FLOAT, gpu::Format::R32_FLOAT, gpu::Format::R8G8_UNORM, gpu::Format::R8_UNORM}) {
      gpu::Texture2DDesc t; t.width = W; t.height = H; t.format = fmt; t.bindFlags = gpu::BindRenderTarget | gpu::BindShaderResource;
      auto tex = Device->CreateTexture2D(t);
      textures.push_back(tex); views.push_back(Device->CreateShaderResourceView(tex.get())); targets.push_back(Device->CreateRenderTargetView(tex.get()));
    }
    gpu::Texture2DDesc t; t.width = 128; t.height = 1; t.format = gpu::Format::R8_UNORM; t.bindFlags = gpu::BindShaderResource;
    std::vector<uint8_t> idx(128); for (int i = 0; i < 128; ++i) idx[i] = uint8_t(i % 100);
    gpu::SubresourceData s{idx.data(), 128};
    idxTex = Device->CreateTexture2D(t, &s); idxView = Device->CreateShaderResourceView(idxTex.get());
    for (auto& [name, body] : Shaders) { std::string src = Header + body; ps[name] = Device->CreatePixelShader(src.data(), src.size()); }
  }
  void Run(const std::string& name, int target, int source, gpu::BlendState* blend) {
    auto& c = *DeviceContext;
    gpu::RenderTargetView* rt = targets[target].get();
    c.OMSetRenderTargets(1, &rt, nullptr);
    gpu::ShaderResourceView* v[] = {views[source].get(), idxView.get()};
    c.PSSetShaderResources(0, 2, v);
    gpu::Buffer* b = cb.get(); c.PSSetConstantBuffers(0, 1, &b);
    gpu::SamplerState* smp = states.PointClamp(); c.PSSetSamplers(0, 1, &smp);
    c.VSSetShader(vs.get()); c.PSSetShader(ps[name].get()); c.IASetInputLayout(nullptr);
    c.IASetPrimitiveTopology(gpu::PrimitiveTopology::TriangleList);
    c.OMSetBlendState(blend, nullptr, 0xffffffff); c.OMSetDepthStencilState(states.DepthNone(), 0); c.RSSetState(states.CullNone());
    c.Draw(3, 0);
  }
  testing::BenchDevice bench;
  gpu::CommonStates states;
  std::shared_ptr<gpu::VertexShader> vs;
  std::shared_ptr<gpu::Buffer> cb;
  std::vector<std::shared_ptr<gpu::Texture2D>> textures;
  std::vector<std::shared_ptr<gpu::ShaderResourceView>> views;
  std::vector<std::shared_ptr<gpu::RenderTargetView>> targets;
  std::shared_ptr<gpu::Texture2D> idxTex; std::shared_ptr<gpu::ShaderResourceView> idxView;
  std::map<std::string, std::shared_ptr<gpu::PixelShader>> ps;
};
Rig& TheRig() { static Rig r; return r; }

double Cpu() { timespec t{}; clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t); return t.tv_sec * 1e3 + t.tv_nsec * 1e-6; }

void Probe(benchmark::State& state, std::string name, int target, int source, int blendKind) {
  Rig& r = TheRig();
  gpu::BlendState* blend = blendKind == 0 ? r.states.Opaque() : blendKind == 1 ? r.states.AlphaBlend() : r.states.Additive();
  r.Run(name, target, source, blend); DeviceContext->Finish();
  double cpu = 0;
  for (auto _ : state) { double c0 = Cpu(); r.Run(name, target, source, blend); DeviceContext->Finish(); cpu += Cpu() - c0; }
  state.counters["cpu_ms"] = cpu / state.iterations();
}
#define P(n, t, s, b) BENCHMARK_CAPTURE(Probe, n##_t##t##_s##s##_b##b, #n, t, s, b)->Unit(benchmark::kMillisecond)->UseRealTime();



P(Uif0,0,1,0) P(Uif10,0,1,0) P(Uloop0,0,1,0) P(Uloop10,0,1,0) P(Unone0,0,1,0) P(Unone10,0,1,0)
}
